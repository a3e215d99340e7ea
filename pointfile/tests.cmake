# The core's tests: one GoogleTest program, each test registered with CTest on its own.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(pointfile_tests
  datum_test.cpp
  load_save_test.cpp
  point_backups_test.cpp
  point_diff_test.cpp
  point_fields_test.cpp
  point_table_test.cpp
  text_forms_test.cpp
)
# PROJ is the reference the datum shift is checked against; no program links it.
find_package(PROJ REQUIRED CONFIG)
target_link_libraries(pointfile_tests PRIVATE pointfile PROJ::proj ostrel_texts ostrel_warnings GTest::gtest_main)
# The sanitizer build is slow to start; listing the tests must not time out there.
gtest_discover_tests(pointfile_tests DISCOVERY_TIMEOUT 60)
