# The typing window: the routines both main windows share, Tavimo's window
# and the Tavimo program.
include(${PROJECT_SOURCE_DIR}/charmap/widgets.cmake)

add_library(typing_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainBase.cpp ${CMAKE_CURRENT_LIST_DIR}/uFrmMainBase.h
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainBaseMemo.cpp ${CMAKE_CURRENT_LIST_DIR}/uFrmMainBaseMemo.h
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainBaseClipboard.cpp ${CMAKE_CURRENT_LIST_DIR}/uFrmMainBaseExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMain.cpp ${CMAKE_CURRENT_LIST_DIR}/uFrmMain.h
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainImages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainStartup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainTray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uFrmMainSettings.cpp)
target_include_directories(typing_window PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(typing_window PUBLIC typing_tool_output charmap_widgets charmap_core platform_codepage platform_dialogs Qt6::Widgets
  typing_windows typing_tool_tools typing_tool_tray platform_registry typing_tool_export
  PRIVATE varunel_options)
set_target_properties(typing_window PROPERTIES AUTOMOC ON)

add_executable(Tavimo ${CMAKE_CURRENT_LIST_DIR}/Tavimo.cpp)
target_link_libraries(Tavimo PRIVATE typing_window varunel_options)
varunel_program(Tavimo)

# Renders the window into a PNG for the documentation (scripts/screenshot.sh).
add_executable(tavimo_screenshot ${CMAKE_CURRENT_LIST_DIR}/TavimoScreenshot.cpp)
target_link_libraries(tavimo_screenshot PRIVATE typing_window Qt6::Test varunel_options)
# It writes its fallback map with the tests' map writer.
target_include_directories(tavimo_screenshot PRIVATE ${PROJECT_SOURCE_DIR}/tests/typing_tool/window)
