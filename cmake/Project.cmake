# Common compile settings for every target of the project.
add_library(varunel_options INTERFACE)
target_compile_options(varunel_options INTERFACE -Wall -Wextra -Wpedantic)
if(VARUNEL_WERROR)
  target_compile_options(varunel_options INTERFACE -Werror)
endif()
if(VARUNEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Puts a program into the program folder next to the shipped data.
function(varunel_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VARUNEL_PROGRAM_DIR})
  if(TARGET program_data)
    add_dependencies(${target} program_data)
  endif()
endfunction()

# A GoogleTest or Qt Test executable registered with ctest.
find_package(GTest REQUIRED)
function(varunel_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main varunel_options test_support)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

function(varunel_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE Qt6::Test varunel_options test_support)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
