# libFuzzer target (clang) for the map link's texts and coordinates, on its own instrumented
# copy of the protocol code and of the core's text forms it relies on.
set(maplink_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

get_target_property(maplink_protocol_sources maplink_protocol SOURCES)
add_executable(fuzz_helper_protocol fuzz/fuzz_helper_protocol.cpp ${maplink_protocol_sources})
target_include_directories(fuzz_helper_protocol PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(fuzz_helper_protocol PRIVATE ${maplink_fuzz_flags})
target_link_options(fuzz_helper_protocol PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_helper_protocol PRIVATE pointfile_fuzzing ostrel_warnings)
