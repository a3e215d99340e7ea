# What the core's parts cost (Google Benchmark).
find_package(benchmark REQUIRED)
add_executable(pointfile_bench bench/point_file_bench.cpp)
target_link_libraries(pointfile_bench PRIVATE pointfile ostrel_texts ostrel_warnings benchmark::benchmark_main)
