// The code page 932 tables against the C library's converter they were made from: every
// byte and byte pair one way, every character of the basic plane the other way, and random
// mixtures of good and broken text both ways, with the same replacements and counts.
#include <iconv.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <string>

#include "exchange/cp932.h"
#include "exchange/utf8.h"

namespace {

// The conversion as iconv does it, with our rules for what does not convert: a byte that
// does not decode becomes U+FFFD; a character code page 932 cannot hold becomes its base
// letter when it is a Latin letter with a diacritic, else "?" (a whole well-formed character,
// else a single byte).
class IconvReference {
 public:
  IconvReference(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~IconvReference() { iconv_close(m_cd); }
  bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  std::string Run(std::string_view input, bool toCp932, int& replaced, int& folded) {
    std::string out;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t left = input.size();
    while (left > 0) {
      char buffer[256];
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t rc = iconv(m_cd, &in, &left, &dst, &room);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc != static_cast<std::size_t>(-1) || error == E2BIG) continue;
      std::size_t skip = 1;
      if (toCp932) {
        const unsigned char lead = static_cast<unsigned char>(*in);
        const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
        if (length <= left && IsValidUtf8(std::string_view(in, length))) skip = length;
        const std::string_view fold =
            skip == 2 ? LatinLetterFold(static_cast<char32_t>((lead & 0x1F) << 6 | (in[1] & 0x3F))) : std::string_view();
        if (fold.empty()) {
          out += '?';
          ++replaced;
        } else {
          out += fold;
          ++folded;
        }
      } else {
        out += "\xEF\xBF\xBD";
      }
      in += skip;
      left -= skip;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t m_cd;
};

std::string Utf8Of(char32_t c) {
  std::string s;
  AppendUtf8(s, c);
  return s;
}

TEST(Cp932Tables, DecodeEveryByteAndBytePairAsTheCLibraryDoes) {
  IconvReference reference("UTF-8", "CP932");
  ASSERT_TRUE(reference.Ok());
  int unused = 0, unusedFolds = 0;
  for (unsigned first = 0; first < 256; ++first) {
    const std::string one(1, static_cast<char>(first));
    ASSERT_EQ(Cp932ToUtf8(one), reference.Run(one, false, unused, unusedFolds)) << std::hex << first;
    for (unsigned second = 0; second < 256; ++second) {
      // A byte after the pair shows whether the pair took one byte or two.
      const std::string three{static_cast<char>(first), static_cast<char>(second), 'x'};
      ASSERT_EQ(Cp932ToUtf8(three), reference.Run(three, false, unused, unusedFolds)) << std::hex << first << ' ' << second;
    }
  }
}

TEST(Cp932Tables, EncodeEveryCharacterAsTheCLibraryDoes) {
  IconvReference reference("CP932", "UTF-8");
  ASSERT_TRUE(reference.Ok());
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const std::string text = "a" + Utf8Of(c) + "b";
    // A combining mark after a letter is left out, which iconv knows nothing of.
    if (c >= 0x300 && c <= 0x36F) continue;
    int expectedReplaced = 0, expectedFolded = 0;
    const std::string expected = reference.Run(text, true, expectedReplaced, expectedFolded);
    const Cp932Text actual = Utf8ToCp932(text);
    ASSERT_EQ(actual.text, expected) << std::hex << static_cast<unsigned>(c);
    ASSERT_EQ(actual.replaced, expectedReplaced) << std::hex << static_cast<unsigned>(c);
    ASSERT_EQ(actual.folded, expectedFolded) << std::hex << static_cast<unsigned>(c);
  }
  // Beyond the basic plane code page 932 holds nothing.
  EXPECT_EQ(Utf8ToCp932(Utf8Of(0x1F600)).text, "?");
}

TEST(Cp932Tables, MixturesOfGoodAndBrokenTextConvertAsTheCLibraryDoes) {
  IconvReference decode("UTF-8", "CP932");
  IconvReference encode("CP932", "UTF-8");
  std::mt19937 random(932);
  // Pieces that meet at every kind of boundary: ASCII, kana, kanji, lead bytes, trail bytes,
  // UTF-8 leads and continuations, surrogates, overlong forms, characters beyond the plane.
  const std::string pieces[] = {"A", " ", "\x81", "\x93\x8C", "\xA0", "\xB1", "\xFD", "\x80", "\x40", "\xE0",
                                "\xEF\xBD\xB1", "\xC3\xA9", "\xE6\x9D\xB1", "\xED\xA0\x80", "\xC0\xAF",
                                "\xF0\x9F\x98\x80", "\xF4\x90\x80\x80", "\xE3\x81", "\xBF", "\x7E", "\\"};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int count = 1 + static_cast<int>(random() % 8);
    for (int k = 0; k < count; ++k) text += pieces[random() % std::size(pieces)];
    int unused = 0, unusedFolds = 0, expectedReplaced = 0, expectedFolded = 0;
    ASSERT_EQ(Cp932ToUtf8(text), decode.Run(text, false, unused, unusedFolds));
    const std::string expected = encode.Run(text, true, expectedReplaced, expectedFolded);
    const Cp932Text actual = Utf8ToCp932(text);
    ASSERT_EQ(actual.text, expected);
    ASSERT_EQ(actual.replaced, expectedReplaced);
    ASSERT_EQ(actual.folded, expectedFolded);
  }
}

}  // namespace
