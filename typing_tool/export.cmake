# Copy, paste and clear of the panes, and export of the display text as a
# bitmap, a JPEG picture or a Word document.
find_package(JPEG REQUIRED)
add_library(typing_tool_export STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ClipboardText.cpp ${CMAKE_CURRENT_LIST_DIR}/ClipboardText.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportText.cpp ${CMAKE_CURRENT_LIST_DIR}/ExportText.h
  ${CMAKE_CURRENT_LIST_DIR}/JpegWriter.cpp ${CMAKE_CURRENT_LIST_DIR}/JpegWriter.h)
target_include_directories(typing_tool_export PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(typing_tool_export
  PUBLIC Qt6::Widgets platform_dialogs platform_codepage platform_automation
  PRIVATE JPEG::JPEG varunel_options)
