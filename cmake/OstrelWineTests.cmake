# The Windows test programs: GoogleTest cross-built from Debian's sources, and one CTest
# test per program, run through the crosscompiling emulator (scripts/wine-run.sh).
if(NOT TARGET gtest)
  # The sources of the build machine's GoogleTest (Debian's googletest package keeps them in
  # <prefix>/src/googletest), looked up on the build machine, not in the cross sysroot.
  find_path(OSTREL_GOOGLETEST_SOURCES
    NAMES googletest/include/gtest/gtest.h
    HINTS ENV GOOGLETEST_SOURCES
    PATHS /usr /usr/local
    PATH_SUFFIXES src/googletest
    NO_CMAKE_FIND_ROOT_PATH
    REQUIRED)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${OSTREL_GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
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
