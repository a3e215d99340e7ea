// Conversion at the Win32 boundary. Inside, the program keeps texts as Shift_JIS bytes
// (code page 932, whatever the system's own code page is); every call into Win32 goes
// through the W functions with UTF-16 made here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Shift_JIS -> UTF-16. Byte sequences that are not Shift_JIS become the system's
// replacement character; nothing is dropped silently.
std::wstring WidenText(std::string_view sjis);

// UTF-16 -> Shift_JIS for display: characters code page 932 lacks become '?'.
std::string NarrowText(std::wstring_view text);

// UTF-16 -> Shift_JIS only when every character has its own code in code page 932 (no
// best-fit look-alikes, no default character). A path that fails this cannot be opened
// through a Shift_JIS path, so callers refuse it instead of opening some other file.
std::optional<std::string> NarrowExactly(std::wstring_view text);

// UTF-8 <-> UTF-16, for what crosses the boundary as UTF-8 (the clipboard's text, read and
// written by the exchange library). Invalid sequences either way become U+FFFD.
std::wstring WidenUtf8(std::string_view utf8);
std::string NarrowToUtf8(std::wstring_view text);

// The message shown when a path cannot be represented in code page 932.
std::string UnrepresentablePathText(std::wstring_view path);

// A string of the program's string table, in Shift_JIS; empty when there is none.
std::string LoadResourceString(unsigned id);
