// Writing a code point as UTF-8, and telling well-formed UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Writes `c` (below U+110000, no surrogate) at `out`; returns the end of what it wrote (1 to 4 bytes).
inline char* PutUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

inline void AppendUtf8(std::string& out, char32_t c) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(PutUtf8(bytes, c) - bytes));
}

// The length of the well-formed UTF-8 character at the start of `p` (`left` bytes on), or 0:
// no overlong forms, surrogates or code points beyond U+10FFFF.
inline std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t left) {
  const unsigned char c = p[0];
  if (c < 0x80) return 1;
  const std::size_t length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
  if (length == 0 || length > left) return 0;
  const unsigned char second = p[1];
  if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
      (c == 0xF4 && second > 0x8F)) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
  }
  return length;
}

// The offset of the first byte that is not part of well-formed UTF-8, or npos.
inline std::size_t InvalidUtf8Offset(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(p + i, text.size() - i);
    if (length == 0) return i;
    i += length;
  }
  return std::string_view::npos;
}

inline bool IsValidUtf8(std::string_view text) { return InvalidUtf8Offset(text) == std::string_view::npos; }
