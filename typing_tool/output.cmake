# Output of the display text to Word, Excel, PowerPoint and the messenger.
add_library(typing_tool_output STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Output.cpp ${CMAKE_CURRENT_LIST_DIR}/Output.h
  ${CMAKE_CURRENT_LIST_DIR}/Messenger.cpp ${CMAKE_CURRENT_LIST_DIR}/Messenger.h
  ${CMAKE_CURRENT_LIST_DIR}/sndkey32.cpp ${CMAKE_CURRENT_LIST_DIR}/sndkey32.h)
target_include_directories(typing_tool_output PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(typing_tool_output
  PUBLIC platform_automation platform_accessibility platform_dialogs platform_codepage
  PRIVATE varunel_options)
