# Delay-load import libraries for the Windows build. A DLL linked through one is loaded at
# the first call into it instead of when the program starts. Each is made from the
# toolchain's own import library (every function it names), so code that calls anything of
# the DLL goes through the delay-load path without a list to keep.
#   ostrel_delay_load_library(<dll>)  ->  target ostrel_delay_<dll>, to link in place of <dll>
function(ostrel_delay_load_library dll)
  if(TARGET ostrel_delay_${dll})
    return()
  endif()
  find_library(OSTREL_IMPORT_LIBRARY_${dll} NAMES ${dll} REQUIRED)
  set(output ${CMAKE_BINARY_DIR}/delay-load/lib${dll}_delay.a)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL} -DDLL=${dll}
            -DIMPORT_LIBRARY=${OSTREL_IMPORT_LIBRARY_${dll}} -DOUTPUT=${output}
            -P ${PROJECT_SOURCE_DIR}/cmake/make_delay_load_library.cmake
    DEPENDS ${OSTREL_IMPORT_LIBRARY_${dll}} ${PROJECT_SOURCE_DIR}/cmake/make_delay_load_library.cmake
    COMMENT "Delay-load import library for ${dll}.dll")
  add_custom_target(ostrel_delay_${dll}_library DEPENDS ${output})
  add_library(ostrel_delay_${dll} STATIC IMPORTED GLOBAL)
  set_target_properties(ostrel_delay_${dll} PROPERTIES IMPORTED_LOCATION ${output})
  add_dependencies(ostrel_delay_${dll} ostrel_delay_${dll}_library)
endfunction()
