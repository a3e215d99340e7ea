# libFuzzer targets (clang). They link their own copy of the core, instrumented for coverage
# and the sanitizers, so that the fuzzer sees the core's branches while the ordinary library
# (and pnt, which links it) stays uninstrumented in this build.
set(ostrel_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

get_target_property(ostrel_core_sources pointfile SOURCES)
add_library(pointfile_fuzzing STATIC ${ostrel_core_sources})
target_include_directories(pointfile_fuzzing PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(pointfile_fuzzing PRIVATE ${ostrel_fuzz_flags})
target_link_libraries(pointfile_fuzzing PRIVATE ostrel_texts ostrel_warnings)

foreach(target fuzz_load_file fuzz_decode_jis_text fuzz_parse_dms)
  add_executable(${target} fuzz/${target}.cpp)
  target_compile_options(${target} PRIVATE ${ostrel_fuzz_flags})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${target} PRIVATE pointfile_fuzzing ostrel_warnings)
endforeach()
