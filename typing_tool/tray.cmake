add_library(typing_tool_tray STATIC ${CMAKE_CURRENT_LIST_DIR}/TrayMenu.cpp ${CMAKE_CURRENT_LIST_DIR}/TrayMenu.h)
target_include_directories(typing_tool_tray PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(typing_tool_tray PUBLIC Qt6::Widgets PRIVATE varunel_options)
