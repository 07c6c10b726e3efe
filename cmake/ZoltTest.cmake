# Every test of the suite is registered through zolt_add_test, in one of two forms:
#
#   zolt_add_test(NAME name SOURCES ... LIBS ... [ENV ...] [TIMEOUT s] [MANUAL])
#     A GoogleTest executable of these sources (built with -Og), run with SDL's
#     dummy video and audio drivers (its main, tests/test_main.cpp, prints a
#     skip line for a case that skips itself). MANUAL builds it only on request
#     (cmake --build DIR --target name) and leaves it out of CTest.
#   zolt_add_test(NAME name COMMAND ... [ENV ...] [TIMEOUT s] [COST n] [RESOURCE_LOCK lock...])
#     Any other command, such as an end-to-end script; it chooses its own drivers.
#
# Every test runs with the one LeakSanitizer suppression file, counts exit
# status 77 as skipped (a script that misses a tool says which) and has a
# time limit that only catches a hang (240 s unless TIMEOUT says otherwise).
# The test programs' temporary files (testing::TempDir) go into a folder of
# the build tree, so that two build trees' suites running at once never
# write over each other's files.
set(ZOLT_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/../tests/lsan.supp)
set(ZOLT_TEST_TMPDIR ${CMAKE_BINARY_DIR}/tests/tmp)
file(MAKE_DIRECTORY ${ZOLT_TEST_TMPDIR})
# The test code itself is built for debugging: it only calls the libraries,
# which keep the build's optimisation; at -O2 the tests took 1.7 times as long
# to build, for nothing. GoogleTest's header is compiled once, with the shared
# main, and every test program reuses it; so that it fits them all, each is
# compiled with SDL's defines, which the tests of SDL's modules need anyway.
add_library(zolt_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/../tests/test_main.cpp)
target_link_libraries(zolt_test_main PUBLIC GTest::gtest zolt_options)
target_compile_options(zolt_test_main PUBLIC -Og $<TARGET_PROPERTY:PkgConfig::SDL,INTERFACE_COMPILE_OPTIONS>)
target_precompile_headers(zolt_test_main PRIVATE <gtest/gtest.h>)

function(zolt_add_test)
  cmake_parse_arguments(ARG "MANUAL" "NAME;TIMEOUT;COST" "SOURCES;LIBS;COMMAND;ENV;RESOURCE_LOCK" ${ARGN})
  set(environment "LSAN_OPTIONS=suppressions=${ZOLT_LSAN_SUPPRESSIONS}" ${ARG_ENV})
  if(ARG_SOURCES)
    if(ARG_MANUAL)
      add_executable(${ARG_NAME} EXCLUDE_FROM_ALL ${ARG_SOURCES})
    else()
      add_executable(${ARG_NAME} ${ARG_SOURCES})
    endif()
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} zolt_options GTest::gtest zolt_test_main)
    target_precompile_headers(${ARG_NAME} REUSE_FROM zolt_test_main)
    if(ARG_MANUAL)
      return()
    endif()
    set(ARG_COMMAND ${ARG_NAME})
    list(PREPEND environment "SDL_VIDEODRIVER=dummy" "SDL_AUDIODRIVER=dummy" "TEST_TMPDIR=${ZOLT_TEST_TMPDIR}/")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 240)
  endif()
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
  set_tests_properties(${ARG_NAME} PROPERTIES
    ENVIRONMENT "${environment}"
    SKIP_RETURN_CODE 77
    TIMEOUT ${ARG_TIMEOUT})
  if(ARG_COST)
    set_tests_properties(${ARG_NAME} PROPERTIES COST ${ARG_COST})
  endif()
  if(ARG_RESOURCE_LOCK)
    set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
endfunction()
