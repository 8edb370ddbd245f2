# Test registration shared by the native and the Windows builds.
#
# Native tests are GoogleTest executables discovered case by case by ctest.
# Windows tests are GoogleTest executables built with mingw; each executable is
# one ctest entry run under Wine (CMAKE_CROSSCOMPILING_EMULATOR points at
# tools/wine-run, which keeps a private prefix inside the build tree). Tests
# that open windows run under xvfb-run when no display is given.

set(QUENDAL_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/..)

function(quendal_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QUENDAL_SOURCE_DIR=${QUENDAL_SOURCE_DIR}")
endfunction()

function(quendal_win32_test name)
  cmake_parse_arguments(T "DISPLAY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(T_DISPLAY)
    add_test(NAME ${name}
      COMMAND ${QUENDAL_SOURCE_DIR}/tools/with-display ${QUENDAL_SOURCE_DIR}/tools/wine-run
              $<TARGET_FILE:${name}> --gtest_color=no)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QUENDAL_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
