# The settings file, the Options dialog, the About box, the splash window and
# the shell "open" both programs share.
add_library(typing_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AboutArt.cpp ${CMAKE_CURRENT_LIST_DIR}/AboutArt.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.cpp ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.h
  ${CMAKE_CURRENT_LIST_DIR}/TypingSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/TypingSettings.h
  ${CMAKE_CURRENT_LIST_DIR}/uAboutBox.cpp ${CMAKE_CURRENT_LIST_DIR}/uAboutBox.h
  ${CMAKE_CURRENT_LIST_DIR}/uOptions.cpp ${CMAKE_CURRENT_LIST_DIR}/uOptions.h
  ${CMAKE_CURRENT_LIST_DIR}/uSplash.cpp ${CMAKE_CURRENT_LIST_DIR}/uSplash.h)
target_include_directories(typing_windows PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(typing_windows PUBLIC Qt6::Widgets platform_dialogs typing_tool_tools PRIVATE varunel_options)
