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
  int folded = 0;     // letters with a diacritic code page 932 cannot hold, written as their base letter
};

// Invalid UTF-8 counts as characters that cannot be held. A Latin letter with a diacritic that
// code page 932 lacks is written as its base letter ("ü" as "u", "ß" as "ss"), and a
// combining mark after a Latin letter is left out; each counts as folded.
Cp932Text Utf8ToCp932(std::string_view utf8);

// The base letter(s) Utf8ToCp932 writes for the letter `c` (U+00C0-U+017F), empty for any other.
std::string_view LatinLetterFold(char32_t c);

// A CSV file's bytes as UTF-8: spreadsheets save UTF-8, with or without a byte order mark
// (removed here), UTF-16 with one (their "Unicode text"; an unpaired surrogate becomes
// U+FFFD), or code page 932, taken to be the case when the bytes are not UTF-8.
std::string CsvBytesAsUtf8(std::string bytes);
