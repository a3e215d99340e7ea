# The program's texts are Shift_JIS bytes. Sources are UTF-8; g++ turns every narrow literal
# into code page 932 when it compiles, so a literal such as "削除" reaches the binary as the
# bytes the Win32 boundary and the point files expect.
#
# clang has no such option. It is used only for the fuzzers, which never look at the texts,
# so there the literals simply stay UTF-8 (OSTREL_TEXTS_UTF8 tells a test that cares).
add_library(ostrel_texts INTERFACE)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(ostrel_texts INTERFACE -finput-charset=UTF-8 -fexec-charset=CP932)
else()
  target_compile_definitions(ostrel_texts INTERFACE OSTREL_TEXTS_UTF8=1)
endif()

# The project's own targets build without warnings on both compilers; CI keeps it so.
option(OSTREL_WARNINGS_AS_ERRORS "Treat warnings in the project's own code as errors" ON)
add_library(ostrel_warnings INTERFACE)
target_compile_options(ostrel_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wno-missing-field-initializers>
  $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<BOOL:${OSTREL_WARNINGS_AS_ERRORS}>>:-Werror>)
