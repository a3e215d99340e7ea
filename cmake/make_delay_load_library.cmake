# Writes a delay-load import library for DLL from the functions its import library names
# (the __imp_ symbols nm lists), through a module-definition file and dlltool -y.
#   cmake -DNM=... -DDLLTOOL=... -DDLL=shell32 -DIMPORT_LIBRARY=... -DOUTPUT=... -P this file
execute_process(COMMAND ${NM} --defined-only ${IMPORT_LIBRARY}
                OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${IMPORT_LIBRARY}")
endif()
string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
set(definitions "LIBRARY ${DLL}.dll\nEXPORTS\n")
foreach(import IN LISTS imports)
  string(REPLACE " I __imp_" "" name "${import}")
  string(APPEND definitions "${name}\n")
endforeach()
list(LENGTH imports count)
if(count EQUAL 0)
  message(FATAL_ERROR "no functions found in ${IMPORT_LIBRARY}")
endif()
get_filename_component(directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
file(WRITE ${directory}/${DLL}.def "${definitions}")
execute_process(COMMAND ${DLLTOOL} --input-def ${directory}/${DLL}.def --dllname ${DLL}.dll --output-delaylib ${OUTPUT}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${DLLTOOL} could not write ${OUTPUT}")
endif()
