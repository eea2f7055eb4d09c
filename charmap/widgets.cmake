# The tile control and the scroll box that hosts tiles (Qt widgets).
if(NOT TARGET charmap_widgets)
  add_library(charmap_widgets STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CharView.cpp ${CMAKE_CURRENT_LIST_DIR}/CharView.h
    ${CMAKE_CURRENT_LIST_DIR}/WorkingCtrls.cpp ${CMAKE_CURRENT_LIST_DIR}/WorkingCtrls.h)
  target_include_directories(charmap_widgets PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(charmap_widgets PUBLIC Qt6::Widgets PRIVATE varunel_options)
  set_target_properties(charmap_widgets PROPERTIES AUTOMOC ON)
endif()
