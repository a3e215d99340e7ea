# The editor's rules that know no window (the voice table, the edit dialog's checks and
# write-back, find and sort, the undo history), tested and measured natively as well as
# built into the Windows program.
set(app_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(app_rules STATIC
  ${app_dir}/history/edit_history.cpp
  ${app_dir}/point_entry.cpp
  ${app_dir}/point_search.cpp
  ${app_dir}/text_folding.cpp
  ${app_dir}/voice_guidance.cpp
)
target_link_libraries(app_rules PUBLIC pointfile PRIVATE ostrel_texts ostrel_warnings)

if(BUILD_TESTING)
  find_package(GTest REQUIRED)
  include(GoogleTest)

  add_executable(app_rules_test
    ${app_dir}/history/edit_history_test.cpp
    ${app_dir}/point_entry_test.cpp
    ${app_dir}/point_search_test.cpp
  )
  target_link_libraries(app_rules_test PRIVATE app_rules GTest::gtest_main ostrel_texts ostrel_warnings)
  gtest_discover_tests(app_rules_test)
endif()

if(OSTREL_BENCHMARKS AND NOT OSTREL_FUZZ)
  # Find, sort and the history on a full file (Google Benchmark).
  find_package(benchmark REQUIRED)
  add_executable(app_rules_bench ${app_dir}/bench/rules_bench.cpp)
  target_link_libraries(app_rules_bench PRIVATE app_rules ostrel_texts ostrel_warnings benchmark::benchmark_main)
endif()
