# How fast the core reads a file and produces what the lists show (Google Benchmark), through
# the editor's own row code (app_rules, app/native_tests.cmake).
find_package(benchmark REQUIRED)
add_executable(pointfile_bench bench/point_file_bench.cpp)
target_link_libraries(pointfile_bench PRIVATE pointfile app_rules ostrel_texts ostrel_warnings benchmark::benchmark_main)
