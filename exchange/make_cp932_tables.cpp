// make_cp932_tables: writes the C library's code page 932 mapping, read through iconv, as the
// tables the converter uses (exchange/cp932.cpp). Built for the build machine and run at build
// time, so that every program converts as the C library does, on Windows too, without loading
// a converter module at run time.
//   make_cp932_tables OUTPUT
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "exchange/utf8.h"

namespace {

constexpr unsigned kNone = 0xFFFF;  // U+FFFF is no character, so it marks "does not decode"

enum class Outcome { kChar, kIncomplete, kInvalid };

struct Decoded {
  Outcome outcome;
  unsigned code = kNone;
  std::size_t used = 0;  // bytes the character took
};

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "make_cp932_tables: %s\n", what.c_str());
  std::exit(1);
}

class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) Die(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(m_cd); }

  // Converts `input` in one call from the initial state: what came out, how much went in, and
  // errno when it stopped early (0 when it did not).
  int Run(const std::string& input, std::string& output, std::size_t& used) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[16];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(m_cd, &in, &inLeft, &out, &outLeft);
    const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
    output.assign(buffer, static_cast<std::size_t>(out - buffer));
    used = input.size() - inLeft;
    return error;
  }

 private:
  iconv_t m_cd;
};

unsigned CodeOf(const std::string& utf32) {
  if (utf32.size() != 4) Die("one byte sequence gave more than one character");
  unsigned code = 0;
  for (int i = 3; i >= 0; --i) code = code << 8 | static_cast<unsigned char>(utf32[i]);
  return code;
}

Decoded Decode(Converter& decoder, const std::string& bytes) {
  std::string out;
  std::size_t used = 0;
  const int error = decoder.Run(bytes, out, used);
  if (out.empty()) {
    if (error == EINVAL) return {Outcome::kIncomplete};
    if (error == EILSEQ) return {Outcome::kInvalid};
    Die("iconv stopped for another reason");
  }
  // The first character only: with two bytes in, a byte that stands alone comes out first.
  return {Outcome::kChar, CodeOf(out.substr(0, 4)), out.size() == 4 ? used : 1};
}

std::string Utf8Of(unsigned code) {
  std::string s;
  AppendUtf8(s, code);
  return s;
}

void WriteArray(std::FILE* out, const char* declaration, const std::vector<unsigned>& values, int perLine) {
  std::fprintf(out, "%s = {", declaration);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::fprintf(out, "%s0x%04X,", i % perLine ? " " : "\n    ", values[i]);
  }
  std::fprintf(out, "\n};\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) Die("usage: make_cp932_tables OUTPUT");
  Converter decoder("UTF-32LE", "CP932");
  Converter encoder("CP932", "UTF-8");

  // Single bytes: a character, a lead byte (incomplete alone), or nothing.
  std::vector<unsigned> single(256, kNone), leadRow(256, 0xFF), pairs;
  int rows = 0;
  for (unsigned b = 0; b < 256; ++b) {
    const Decoded d = Decode(decoder, std::string(1, static_cast<char>(b)));
    if (d.outcome == Outcome::kChar) single[b] = d.code;
    if (d.outcome != Outcome::kIncomplete) continue;
    leadRow[b] = static_cast<unsigned>(rows++);
    // A lead byte with each trail byte: one character of both, or the lead does not decode.
    for (unsigned t = 0; t < 256; ++t) {
      const Decoded pair = Decode(decoder, std::string{static_cast<char>(b), static_cast<char>(t)});
      if (pair.outcome == Outcome::kChar && pair.used != 2) Die("a lead byte decoded on its own");
      pairs.push_back(pair.outcome == Outcome::kChar ? pair.code : kNone);
    }
  }
  if (rows == 0 || rows >= 0xFF) Die("unexpected number of lead bytes");

  // Every code point of the basic plane (code page 932 has none beyond it), by pages of 256:
  // a page number for each high byte (0xFF: no character of the page converts), then the
  // pages' bytes (one byte when below 0x100; 0xFFFF: does not convert).
  std::vector<unsigned> pageOf(256, 0xFF), pages;
  int pageCount = 0;
  for (unsigned high = 0; high < 256; ++high) {
    std::vector<unsigned> page(256, kNone);
    bool any = false;
    for (unsigned low = 0; low < 256; ++low) {
      const unsigned code = high << 8 | low;
      if (code >= 0xD800 && code < 0xE000) continue;
      std::string out;
      std::size_t used = 0;
      if (encoder.Run(Utf8Of(code), out, used) != 0 || out.empty()) continue;
      if (out.size() > 2) Die("a character took more than two bytes");
      page[low] = out.size() == 1 ? static_cast<unsigned char>(out[0])
                                  : static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]);
      if (page[low] == kNone) Die("a character encodes as the mark for none");
      any = true;
    }
    if (!any) continue;
    pageOf[high] = static_cast<unsigned>(pageCount++);
    pages.insert(pages.end(), page.begin(), page.end());
  }
  if (pageCount >= 0xFF) Die("unexpected number of pages");
  for (unsigned code = 0; code < 0x80; ++code) {
    if (pageOf[0] != 0 || pages[code] != code) Die("ASCII does not map to itself");
  }

  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) Die(std::string("cannot write ") + argv[1]);
  std::fprintf(out,
               "// Generated by make_cp932_tables from the C library's code page 932 converter (iconv).\n"
               "// 0xFFFF: does not decode.\n");
  WriteArray(out, "constexpr char16_t kCp932Single[256]", single, 16);
  WriteArray(out, "constexpr std::uint8_t kCp932LeadRow[256]", leadRow, 16);
  std::fprintf(out, "constexpr int kCp932LeadRows = %d;\n", rows);
  WriteArray(out, "constexpr char16_t kCp932Pairs[kCp932LeadRows * 256]", pairs, 16);
  WriteArray(out, "constexpr std::uint8_t kCp932PageOf[256]", pageOf, 16);
  std::fprintf(out, "constexpr int kCp932Pages = %d;\n", pageCount);
  WriteArray(out, "constexpr std::uint16_t kCp932Encoded[kCp932Pages * 256]", pages, 16);
  if (std::fclose(out) != 0) Die(std::string("cannot write ") + argv[1]);
  return 0;
}
