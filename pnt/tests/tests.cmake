# pnt's tests: typed coordinates in-process, the commands as real
# processes, and GPSBabel as a peer that must read what we write and write what we read.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(pnt_tests
  tests/cli_test.cpp
  tests/coordinate_input_test.cpp
)
target_link_libraries(pnt_tests PRIVATE pnt_commands ostrel_warnings GTest::gtest_main)
target_compile_definitions(pnt_tests PRIVATE
  PNT_BINARY="$<TARGET_FILE:pnt>"
  OSTREL_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
add_dependencies(pnt_tests pnt)
# The sanitizer build is slow to start; listing the tests must not time out there.
gtest_discover_tests(pnt_tests DISCOVERY_TIMEOUT 60)

# GPSBabel, a program many users already have, must read what we write and write what we read.
find_program(PNT_GPSBABEL gpsbabel)
if(PNT_GPSBABEL)
  add_test(NAME pnt_gpsbabel_peer
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/gpsbabel_peer.sh $<TARGET_FILE:pnt> ${PNT_GPSBABEL}
                   ${PROJECT_SOURCE_DIR}/samples/sample.pnt)
else()
  message(WARNING "gpsbabel not found: the peer test is not run (scripts/install-deps.sh installs it)")
endif()
