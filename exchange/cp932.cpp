#include "exchange/cp932.h"

#include <cstddef>
#include <cstdint>

#include "exchange/utf8.h"

namespace {

// The C library's code page 932 mapping, captured from iconv at build time.
#include "exchange/cp932_tables.inc"

constexpr char16_t kNoCharacter = 0xFFFF;
constexpr std::uint16_t kNoBytes = 0xFFFF;
constexpr std::uint8_t kNone = 0xFF;

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view sjis) {
  // ASCII reads the same in both encodings, and most phone numbers are nothing else.
  if (IsAscii(sjis)) return std::string(sjis);
  // Each byte becomes at most three.
  std::string text(sjis.size() * 3, '\0');
  char* out = text.data();
  const auto* in = reinterpret_cast<const unsigned char*>(sjis.data());
  const std::size_t size = sjis.size();
  for (std::size_t i = 0; i < size;) {
    char16_t c = kNoCharacter;
    std::size_t used = 1;
    if (const std::uint8_t row = kCp932LeadRow[in[i]]; row != kNone) {
      // A lead byte whose pair does not decode (or that ends the text) is one bad byte.
      if (i + 1 < size && (c = kCp932Pairs[row * 256 + in[i + 1]]) != kNoCharacter) used = 2;
    } else {
      c = kCp932Single[in[i]];
    }
    out = PutUtf8(out, c == kNoCharacter ? u'\uFFFD' : c);
    i += used;
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

Cp932Text Utf8ToCp932(std::string_view utf8) {
  Cp932Text result;
  if (IsAscii(utf8)) {
    result.text = utf8;
    return result;
  }
  // No character takes more bytes in code page 932 than in UTF-8.
  result.text.assign(utf8.size(), '\0');
  char* out = result.text.data();
  const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t size = utf8.size();
  for (std::size_t i = 0; i < size;) {
    if (in[i] < 0x80) {
      *out++ = static_cast<char>(in[i++]);
      continue;
    }
    // A byte that starts no well-formed character counts as one character code page 932
    // cannot hold; so does a well-formed character it has no bytes for.
    const std::size_t length = Utf8SequenceLength(in + i, size - i);
    std::uint16_t bytes = kNoBytes;
    if (length == 2 || length == 3) {
      char32_t code = in[i] & (0xFF >> (length + 1));
      for (std::size_t k = 1; k < length; ++k) code = code << 6 | (in[i + k] & 0x3F);
      if (const std::uint8_t page = kCp932PageOf[code >> 8]; page != kNone) bytes = kCp932Encoded[page * 256 + (code & 0xFF)];
    }
    i += length ? length : 1;
    if (bytes == kNoBytes) {
      *out++ = '?';
      ++result.replaced;
      continue;
    }
    if (bytes > 0xFF) *out++ = static_cast<char>(bytes >> 8);
    *out++ = static_cast<char>(bytes & 0xFF);
  }
  result.text.resize(static_cast<std::size_t>(out - result.text.data()));
  return result;
}

std::string CsvBytesAsUtf8(std::string bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) return bytes.substr(kByteOrderMark.size());
  return IsValidUtf8(bytes) ? bytes : Cp932ToUtf8(bytes);
}
