# One GoogleTest executable per subsystem:
#   varnel_add_test(<subsystem> [LABELS <label>...] [LIBRARIES <target>...]
#                   [ENVIRONMENT <NAME=value>...])
# builds tests/<subsystem>/**/*.cpp into test_<subsystem> and registers each
# test case with CTest, run in the environment given. Tests with threads
# carry the label "threaded" (the ThreadSanitizer run). No test needs a lock: those that bind the suit port
# take a free port of their own (tests/support/own_suit_port.h). A test that
# hangs fails after five minutes rather than stalling the run.
find_package(GTest REQUIRED)
include(GoogleTest)

function(varnel_add_test subsystem)
  cmake_parse_arguments(ARG "" "" "LABELS;LIBRARIES;ENVIRONMENT" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${subsystem}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${subsystem})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE varnel_core ${ARG_LIBRARIES} GTest::gtest GTest::gmock
                        GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    VARNEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  # gtest_discover_tests splits every property value on ";", so two labels
  # would pair up with the wrong names: set the properties once the
  # discovered tests are listed in ${target}_TESTS.
  set(labels ${subsystem} ${ARG_LABELS})
  set(properties_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_properties.cmake)
  file(WRITE ${properties_file}
    "if(${target}_TESTS)\n"
    "  set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${labels}\"\n"
    "                      ENVIRONMENT \"${ARG_ENVIRONMENT}\" TIMEOUT 300)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties_file})
endfunction()
