// Conversions between the point file's Shift_JIS (code page 932) and the UTF-8 that terminals
// and interchange files use. The mapping is the C library's own: make_cp932_tables reads it
// through iconv at build time, so that pnt and the Windows programs convert alike and none
// loads a converter module at run time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/utf8.h"

// Every byte sequence code page 932 cannot decode becomes U+FFFD; nothing is dropped silently.
std::string Cp932ToUtf8(std::string_view sjis);

struct Cp932Text {
  std::string text;   // Shift_JIS
  int replaced = 0;   // characters code page 932 cannot hold, each written as "?"
};

// Invalid UTF-8 counts as characters that cannot be held.
Cp932Text Utf8ToCp932(std::string_view utf8);

// A CSV file's bytes as UTF-8: spreadsheets save UTF-8, with or without a byte order mark
// (removed here), or code page 932, taken to be the case when the bytes are not UTF-8.
std::string CsvBytesAsUtf8(std::string bytes);
