// Conversions between what a point file stores and what a user reads and types:
// coordinates as DMS text, the two-byte JIS form of names, and date and time stamps.
// All texts are Shift_JIS. Every function is pure except the two clock readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// A coordinate as "DDD/MM/SS.mmm", exactly 13 characters; the hundreds digit of the degrees
// is a blank when it is 0.
std::string FormatDms(std::uint32_t value);

// The characters that separate the fields of a typed coordinate: ' , . / blank, tab, line feed.
bool IsCoordinateSeparator(char c);

// Reads a typed coordinate: degrees, minutes, seconds and thousandths separated by any run of
// ' , . / blank tab or line feed; only the first 32 bytes count. A third token of 60 or more
// holds seconds and thousandths together ("35 39 29123"). Wraps modulo 2^32, never fails.
std::uint32_t ParseDms(std::string_view text);

// Shift_JIS text to the two-byte JIS form, ended by one 0x00 byte. Text stops at a NUL.
std::string EncodeJisText(std::string_view text);

// The two-byte JIS form of a field (at most its first 40 bytes are read) back to Shift_JIS.
std::string DecodeJisText(const std::uint8_t* field, std::size_t length);
// The same into `out`, whose storage is reused: a list refilling one row buffer allocates nothing.
void DecodeJisText(const std::uint8_t* field, std::size_t length, std::string& out);

// Writes `src` (up to its first NUL) into the field at `dst`, at most `max` bytes, then two
// 0x00 bytes. Bytes of the field behind those stay as they were.
void CopyFieldText(std::uint8_t* dst, std::string_view src, std::size_t max);

// The local clock.
std::tm LocalNow();
// The local clock, packed as the file stores it: (year - 2000) << 16 | month << 8 | day, and
// hour << 16 | minute << 8 | second.
std::uint32_t CurrentDate();
std::uint32_t CurrentTime();

// "20%02d/%02d/%02d" and "%02d:%02d:%02d" of the stored bytes.
std::string FormatDateText(int year, int month, int day);
std::string FormatTimeText(int hour, int minute, int second);
