# The Windows test programs: GoogleTest cross-built from Debian's sources, and one CTest
# test per program, run through the crosscompiling emulator (scripts/wine-run.sh).
if(NOT TARGET gtest)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# ostrel_add_wine_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# A gtest program run as one CTest test; it finds its data files beside itself.
function(ostrel_add_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} gmock gtest ostrel_texts ostrel_warnings)
  add_test(NAME ${name} COMMAND ${name})
  # A GUI test that hangs in a modal loop must not hold the run for ever.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
