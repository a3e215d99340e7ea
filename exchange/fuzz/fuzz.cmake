# libFuzzer targets (clang) for the import parsers. They link their own instrumented copy of
# the format code, so that the fuzzer sees its branches while pnt stays uninstrumented.
set(exchange_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

add_library(exchange_formats_fuzzing STATIC ${exchange_format_sources} xml_parse_pugixml.cpp)
target_include_directories(exchange_formats_fuzzing PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(exchange_formats_fuzzing PRIVATE ${exchange_fuzz_flags})
target_link_libraries(exchange_formats_fuzzing PUBLIC nlohmann_json::nlohmann_json pugixml::static ZLIB::ZLIB
                      PRIVATE ostrel_warnings)

foreach(format gpx kml kmz csv geojson)
  add_executable(fuzz_import_${format} fuzz/fuzz_import.cpp)
  target_compile_definitions(fuzz_import_${format} PRIVATE EXCHANGE_FUZZ_FORMAT=${format})
  target_compile_options(fuzz_import_${format} PRIVATE ${exchange_fuzz_flags})
  target_link_options(fuzz_import_${format} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_import_${format} PRIVATE exchange_formats_fuzzing ostrel_warnings)
endforeach()

# Pasted text: any bytes, as a clipboard may hold them.
add_executable(fuzz_paste fuzz/fuzz_paste.cpp)
target_compile_options(fuzz_paste PRIVATE ${exchange_fuzz_flags})
target_link_options(fuzz_paste PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_paste PRIVATE exchange_formats_fuzzing ostrel_warnings)
