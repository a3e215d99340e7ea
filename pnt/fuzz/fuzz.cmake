# libFuzzer targets (clang) for the import parsers. They link their own instrumented copy of
# the interchange code, so that the fuzzer sees its branches while pnt stays uninstrumented.
set(pnt_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

get_target_property(pnt_interchange_sources pnt_interchange SOURCES)
add_library(pnt_interchange_fuzzing STATIC ${pnt_interchange_sources})
target_include_directories(pnt_interchange_fuzzing PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(pnt_interchange_fuzzing PRIVATE $<TARGET_PROPERTY:PROJ::proj,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(pnt_interchange_fuzzing PRIVATE OSTREL_PROJ_LIBRARY="${pnt_proj_soname}")
target_compile_options(pnt_interchange_fuzzing PRIVATE ${pnt_fuzz_flags})
target_link_libraries(pnt_interchange_fuzzing PUBLIC nlohmann_json::nlohmann_json pugixml::static ${CMAKE_DL_LIBS}
                      PRIVATE ostrel_warnings)

foreach(format gpx kml csv geojson)
  add_executable(fuzz_import_${format} fuzz/fuzz_import.cpp)
  target_compile_definitions(fuzz_import_${format} PRIVATE PNT_FUZZ_FORMAT=${format})
  target_compile_options(fuzz_import_${format} PRIVATE ${pnt_fuzz_flags})
  target_link_options(fuzz_import_${format} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_import_${format} PRIVATE pnt_interchange_fuzzing ostrel_warnings)
endforeach()
