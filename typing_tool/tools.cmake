# Standalone pieces the main windows use: the process starter, the font
# picker and the application-wide hooks.
add_library(typing_tool_tools STATIC
  ${CMAKE_CURRENT_LIST_DIR}/RunApp.cpp ${CMAKE_CURRENT_LIST_DIR}/RunApp.h
  ${CMAKE_CURRENT_LIST_DIR}/FontCombo.cpp ${CMAKE_CURRENT_LIST_DIR}/FontCombo.h
  ${CMAKE_CURRENT_LIST_DIR}/AppHooks.cpp ${CMAKE_CURRENT_LIST_DIR}/AppHooks.h)
target_include_directories(typing_tool_tools PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(typing_tool_tools
  PUBLIC Qt6::Widgets platform_process platform_dialogs
  PRIVATE platform_codepage varunel_options)
