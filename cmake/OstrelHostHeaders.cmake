# Header-only libraries for the cross build, taken from the build machine's include directory
# without putting that whole directory on the cross compiler's path (its C library headers
# would shadow mingw-w64's).
#   ostrel_host_headers(<target> <header> <folder>): an INTERFACE target whose include path
#   holds only <folder> (the folder of <header>, e.g. nlohmann for nlohmann/json.hpp).
function(ostrel_host_headers target header folder)
  find_path(OSTREL_HOST_HEADERS_${target} ${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(directory ${CMAKE_BINARY_DIR}/host-headers/${target})
  file(MAKE_DIRECTORY ${directory})
  file(CREATE_LINK ${OSTREL_HOST_HEADERS_${target}}/${folder} ${directory}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${directory})
endfunction()
