# libFuzzer targets for what other programs can hand the helper: posted messages, and the
# base map file. Like the core's, they build their own instrumented copy of the sources.
set(quorvin_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

add_library(quorvin_core_fuzzing STATIC
  base_map.cpp helper_session.cpp map_view.cpp ${PROJECT_SOURCE_DIR}/maplink/helper_protocol.cpp
  ${PROJECT_SOURCE_DIR}/pointfile/datum.cpp)
target_include_directories(quorvin_core_fuzzing PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(quorvin_core_fuzzing PRIVATE ${quorvin_fuzz_flags})
target_link_libraries(quorvin_core_fuzzing PRIVATE ostrel_texts ostrel_warnings)

foreach(target fuzz_helper_messages fuzz_base_map)
  add_executable(${target} fuzz/${target}.cpp)
  target_compile_options(${target} PRIVATE ${quorvin_fuzz_flags})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${target} PRIVATE quorvin_core_fuzzing ostrel_warnings)
endforeach()
