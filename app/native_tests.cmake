# The editor's rules that know no window (the voice table, the edit dialog's checks and
# write-back), tested natively as well as in the Windows build.
set(app_dir ${CMAKE_CURRENT_LIST_DIR})
if(BUILD_TESTING)
  add_library(app_rules STATIC
    ${app_dir}/history/edit_history.cpp
    ${app_dir}/point_entry.cpp
    ${app_dir}/point_search.cpp
    ${app_dir}/text_folding.cpp
    ${app_dir}/voice_guidance.cpp
  )
  target_link_libraries(app_rules PUBLIC pointfile PRIVATE ostrel_texts ostrel_warnings)

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
