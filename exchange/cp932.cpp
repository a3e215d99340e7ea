#include "exchange/cp932.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "exchange/utf8.h"

namespace {

// The C library's code page 932 mapping, captured from iconv at build time.
#include "exchange/cp932_tables.inc"

constexpr char16_t kNoCharacter = 0xFFFF;
constexpr std::uint16_t kNoBytes = 0xFFFF;
constexpr std::uint8_t kNone = 0xFF;

// The base letters of the Latin-1 Supplement and Latin Extended-A letters, U+00C0-U+017F:
// the first character of each one's canonical decomposition in the Unicode Character
// Database (Unicode 14.0, Unicode License v3), and for the letters without one (ß, Æ, Ø,
// Þ, Ł, ...) the spelling their languages use when the letter is not at hand. Each takes no
// more bytes than the letter's own two in UTF-8. Empty: not a letter (× ÷).
constexpr char32_t kFirstFoldable = 0xC0;
constexpr const char* kLetterFolds[] = {
    "A", "A", "A", "A", "A", "A", "AE", "C",  // U+00C0 ÀÁÂÃÄÅÆÇ
    "E", "E", "E", "E", "I", "I", "I", "I",  // U+00C8 ÈÉÊËÌÍÎÏ
    "D", "N", "O", "O", "O", "O", "O", "",  // U+00D0 ÐÑÒÓÔÕÖ×
    "O", "U", "U", "U", "U", "Y", "Th", "ss",  // U+00D8 ØÙÚÛÜÝÞß
    "a", "a", "a", "a", "a", "a", "ae", "c",  // U+00E0 àáâãäåæç
    "e", "e", "e", "e", "i", "i", "i", "i",  // U+00E8 èéêëìíîï
    "d", "n", "o", "o", "o", "o", "o", "",  // U+00F0 ðñòóôõö÷
    "o", "u", "u", "u", "u", "y", "th", "y",  // U+00F8 øùúûüýþÿ
    "A", "a", "A", "a", "A", "a", "C", "c",  // U+0100 ĀāĂăĄąĆć
    "C", "c", "C", "c", "C", "c", "D", "d",  // U+0108 ĈĉĊċČčĎď
    "D", "d", "E", "e", "E", "e", "E", "e",  // U+0110 ĐđĒēĔĕĖė
    "E", "e", "E", "e", "G", "g", "G", "g",  // U+0118 ĘęĚěĜĝĞğ
    "G", "g", "G", "g", "H", "h", "H", "h",  // U+0120 ĠġĢģĤĥĦħ
    "I", "i", "I", "i", "I", "i", "I", "i",  // U+0128 ĨĩĪīĬĭĮį
    "I", "i", "IJ", "ij", "J", "j", "K", "k",  // U+0130 İıĲĳĴĵĶķ
    "k", "L", "l", "L", "l", "L", "l", "L",  // U+0138 ĸĹĺĻļĽľĿ
    "l", "L", "l", "N", "n", "N", "n", "N",  // U+0140 ŀŁłŃńŅņŇ
    "n", "'n", "N", "n", "O", "o", "O", "o",  // U+0148 ňŉŊŋŌōŎŏ
    "O", "o", "OE", "oe", "R", "r", "R", "r",  // U+0150 ŐőŒœŔŕŖŗ
    "R", "r", "S", "s", "S", "s", "S", "s",  // U+0158 ŘřŚśŜŝŞş
    "S", "s", "T", "t", "T", "t", "T", "t",  // U+0160 ŠšŢţŤťŦŧ
    "U", "u", "U", "u", "U", "u", "U", "u",  // U+0168 ŨũŪūŬŭŮů
    "U", "u", "U", "u", "W", "w", "Y", "y",  // U+0170 ŰűŲųŴŵŶŷ
    "Y", "Z", "z", "Z", "z", "Z", "z", "s",  // U+0178 ŸŹźŻżŽžſ
};

bool IsCombiningMark(char32_t c) { return c >= 0x300 && c <= 0x36F; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string_view LatinLetterFold(char32_t c) {
  if (c < kFirstFoldable || c >= kFirstFoldable + std::size(kLetterFolds)) return {};
  return kLetterFolds[c - kFirstFoldable];
}

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
  // No character takes more bytes in code page 932 than in UTF-8, folded letters included.
  result.text.assign(utf8.size(), '\0');
  char* out = result.text.data();
  const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t size = utf8.size();
  bool afterLetter = false;  // the last character written was a Latin letter
  for (std::size_t i = 0; i < size;) {
    if (in[i] < 0x80) {
      afterLetter = IsAsciiLetter(static_cast<char>(in[i]));
      *out++ = static_cast<char>(in[i++]);
      continue;
    }
    // A byte that starts no well-formed character counts as one character code page 932
    // cannot hold; so does a well-formed character it has no bytes for.
    const std::size_t length = Utf8SequenceLength(in + i, size - i);
    std::uint16_t bytes = kNoBytes;
    char32_t code = 0;
    if (length == 2 || length == 3) {
      code = in[i] & (0xFF >> (length + 1));
      for (std::size_t k = 1; k < length; ++k) code = code << 6 | (in[i + k] & 0x3F);
      if (const std::uint8_t page = kCp932PageOf[code >> 8]; page != kNone) bytes = kCp932Encoded[page * 256 + (code & 0xFF)];
    }
    i += length ? length : 1;
    if (bytes == kNoBytes) {
      // A letter with a diacritic is still read as its letter; so is one whose accent comes
      // as a combining mark after it (decomposed text, as some systems write file names).
      const std::string_view fold = LatinLetterFold(code);
      if (!fold.empty() || (afterLetter && IsCombiningMark(code))) {
        for (char c : fold) *out++ = c;
        ++result.folded;
        afterLetter = true;
        continue;
      }
      *out++ = '?';
      ++result.replaced;
      afterLetter = false;
      continue;
    }
    afterLetter = false;
    if (bytes > 0xFF) *out++ = static_cast<char>(bytes >> 8);
    *out++ = static_cast<char>(bytes & 0xFF);
  }
  result.text.resize(static_cast<std::size_t>(out - result.text.data()));
  return result;
}

namespace {

// UTF-16 (after its byte order mark) as UTF-8; an unpaired surrogate, or an odd last byte,
// becomes U+FFFD.
std::string Utf16AsUtf8(std::string_view bytes, bool bigEndian) {
  std::string text;
  text.reserve(bytes.size() / 2 * 3);
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t k) -> char32_t {
    return bigEndian ? in[2 * k] << 8 | in[2 * k + 1] : in[2 * k + 1] << 8 | in[2 * k];
  };
  for (std::size_t k = 0; k < units; ++k) {
    char32_t c = unit(k);
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++k) - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(text, c);
  }
  if (bytes.size() % 2 != 0) AppendUtf8(text, 0xFFFD);
  return text;
}

}  // namespace

std::string CsvBytesAsUtf8(std::string bytes) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
  constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
  if (bytes.starts_with(kUtf8Mark)) return bytes.substr(kUtf8Mark.size());
  if (bytes.starts_with(kUtf16LittleMark)) return Utf16AsUtf8(std::string_view(bytes).substr(2), false);
  if (bytes.starts_with(kUtf16BigMark)) return Utf16AsUtf8(std::string_view(bytes).substr(2), true);
  return IsValidUtf8(bytes) ? bytes : Cp932ToUtf8(bytes);
}
