#include "pointfile/text_forms.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

std::string Decode(const std::string& field) {
  return DecodeJisText(reinterpret_cast<const std::uint8_t*>(field.data()), field.size());
}

// --- Coordinates ---------------------------------------------------------------------------

TEST(FormatDms, ShowsDegreesMinutesSecondsAndThousandths) {
  EXPECT_EQ(FormatDms(0), " 00/00/00.000");
  EXPECT_EQ(FormatDms(7372800), " 01/00/00.000");
  EXPECT_EQ(FormatDms(2047), " 00/00/00.999");
  EXPECT_EQ(FormatDms(1), " 00/00/00.000");
  EXPECT_EQ(FormatDms(1024), " 00/00/00.500");
  EXPECT_EQ(FormatDms(262899964), " 35/39/29.123");
  EXPECT_EQ(FormatDms(36864000), " 05/00/00.000");
}

TEST(FormatDms, ShowsTheHundredsDigitFromOneHundredDegrees) {
  EXPECT_EQ(FormatDms(1030284288), "139/44/28.500");
  EXPECT_EQ(FormatDms(100u * 7372800), "100/00/00.000");
  EXPECT_EQ(FormatDms(100u * 7372800 - 1), " 99/59/59.999");
  // The largest stored value still fits the thirteen characters.
  EXPECT_EQ(FormatDms(0xFFFFFFFFu), "582/32/31.999");
}

struct ParseCase {
  const char* text;
  std::uint32_t value;
};

TEST(ParseDms, ReadsTheWaysUsersTypeCoordinates) {
  const ParseCase cases[] = {
      {"35/39/29.123", 262899964},
      {"35 39 29123", 262899964},  // a third token of 60 or more holds the thousandths too
      {"139 44 28.5", 1030284288},
      {"35 39 29.1", 262899917},
      {"35 40", 262963200},
      {"35.5", 258662400},  // the period separates degrees from minutes here
      {"35 39 75", 262840474},
      {"0 0 0.999", 2046},
      {"0 0 0.001", 2},
      {"", 0},
      {" 35/39/29.123", 262899964},  // what FormatDms shows parses back
      {"35'39,29\t123", 262899964},
      {"35\n39\n29.123", 262899964},
      {"//35,,39  29..123", 262899964},  // runs of separators count as one
      {"0 0 0.12", 246},                 // 120 thousandths
      {"0 0 0.1234", 252},               // only three places count: 123
      {"35x 39", 262840320},             // a token's value is its leading digits
      {"abc", 0},
      {"35 39 75 999", 262840474},       // thousandths already taken from the third token
      {"1 2 3 4 5 6", 7372800 + 2 * 122880 + 3 * 2048 + 819},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDms(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(ParseDms, WrapsModulo32BitsInsteadOfFailing) {
  EXPECT_EQ(ParseDms("-1"), static_cast<std::uint32_t>(-7372800));
  EXPECT_EQ(ParseDms("583"), static_cast<std::uint32_t>(583ull * 7372800));
  // Far too many digits must not overflow a signed integer (the sanitizer build traps on it).
  (void)ParseDms("99999999999999999999 99999999999 9999999999");
}

TEST(ParseDms, ReadsOnlyTheFirst32Bytes) {
  const std::string text = std::string(28, ' ') + "35 39 29.123";  // 28 + "35 3" fit
  EXPECT_EQ(ParseDms(text), (35u * 60 + 3) * 60 * 2048);
  // Nothing past the end of a short view is read either.
  const std::string longer = "10 20 30.400 extra";
  EXPECT_EQ(ParseDms(std::string_view(longer).substr(0, 5)), (10u * 60 + 20) * 60 * 2048);
}

// Formatting then parsing loses at most the rounding of the thousandths: 0 to 2 units.
void ExpectSmallDrift(std::uint32_t value) {
  const std::string text = FormatDms(value);
  ASSERT_EQ(text.size(), 13u) << value;
  const std::uint32_t back = ParseDms(text);
  ASSERT_LE(back, value) << text;
  ASSERT_LE(value - back, 2u) << text;
}

TEST(DmsRoundTrip, DriftsByAtMostTwoUnitsForEveryFraction) {
  for (std::uint32_t whole : {0u, 1u, 59u, 3599u, 128723u, 2097151u}) {
    for (std::uint32_t frac = 0; frac < 2048; ++frac) ExpectSmallDrift((whole << 11) | frac);
  }
}

TEST(DmsRoundTrip, DriftsByAtMostTwoUnitsForRandomValues) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::uint32_t> any;
  for (int n = 0; n < 200000; ++n) ExpectSmallDrift(any(rng));
}

// --- Two-byte JIS form -----------------------------------------------------------------------

TEST(EncodeJisText, PrefixesSingleBytesAndConvertsDoubleBytes) {
  EXPECT_EQ(EncodeJisText("A\x93\x8C"), Bytes({0xFF, 0x41, 0x45, 0x6C, 0x00}));          // A東
  EXPECT_EQ(EncodeJisText("A1"), Bytes({0xFF, 0x41, 0xFF, 0x31, 0x00}));
  EXPECT_EQ(EncodeJisText("\x93\x8C\x8B\x9E"), Bytes({0x45, 0x6C, 0x35, 0x7E, 0x00}));  // 東京
  EXPECT_EQ(EncodeJisText(""), Bytes({0x00}));
}

TEST(EncodeJisText, DropsALoneLeadByteAndStopsAtNul) {
  EXPECT_EQ(EncodeJisText("A\x93"), Bytes({0xFF, 0x41, 0x00}));
  EXPECT_EQ(EncodeJisText(std::string("A\0B", 3)), Bytes({0xFF, 0x41, 0x00}));
  EXPECT_EQ(EncodeJisText(std::string("A\x93\0B", 4)), Bytes({0xFF, 0x41, 0x00}));
}

TEST(EncodeJisText, PairsAHalfWidthKatakanaWithTheNextByte) {
  // Such a byte has no single-byte form in the field, so it takes its neighbour along.
  EXPECT_EQ(EncodeJisText("\xB1" "AB").size(), 2u + 2u + 1u);
}

TEST(DecodeJisText, ReadsSingleAndDoubleByteCharacters) {
  EXPECT_EQ(Decode(Bytes({0xFF, 0x41, 0x45, 0x6C, 0x00, 0x00})), "A\x93\x8C");
  EXPECT_EQ(Decode(Bytes({0x45, 0x6C, 0x35, 0x7E, 0x00, 0x00})), "\x93\x8C\x8B\x9E");
}

TEST(DecodeJisText, StopsAtTheFirstZeroOfAUnit) {
  EXPECT_EQ(Decode(Bytes({0xFF, 0x41, 0xFF, 0x00, 0xFF, 0x42})), "A");
  EXPECT_EQ(Decode(Bytes({0xFF, 0x41, 0x00, 0x42, 0xFF, 0x42})), "A");
  EXPECT_EQ(Decode(Bytes({0xFF, 0x41, 0x45, 0x00, 0xFF, 0x42})), "A");
  EXPECT_EQ(Decode(Bytes({})), "");
  // Codes outside JIS X 0208 whose Shift_JIS bytes come out as zero end the text too.
  EXPECT_EQ(Decode(Bytes({0xFF, 0x41, 0x22, 0x82, 0xFF, 0x42})), "A");
  EXPECT_EQ(Decode(Bytes({0xFF, 0x41, 0x9F, 0x21, 0xFF, 0x42})), "A");
}

TEST(DecodeJisText, NeverReadsPastFortyBytes) {
  std::string field;
  for (int n = 0; n < 40; ++n) field += Bytes({0xFF, 0x41 + n / 20});  // 20 A, then 20 B
  EXPECT_EQ(Decode(field), std::string(20, 'A'));
  // Nor past the length it is given.
  EXPECT_EQ(Decode(field.substr(0, 7)), "AAA");
}

TEST(JisRoundTrip, EveryJisX0208CodeSurvivesDecodeThenEncode) {
  for (int row = 0x21; row <= 0x7E; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      const std::string code = Bytes({row, cell});
      const std::string sjis = Decode(code + Bytes({0, 0}));
      ASSERT_EQ(sjis.size(), 2u) << std::hex << row << ' ' << cell;
      const auto lead = static_cast<std::uint8_t>(sjis[0]);
      const auto trail = static_cast<std::uint8_t>(sjis[1]);
      ASSERT_TRUE((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)) << std::hex << row;
      ASSERT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << std::hex << row << ' ' << cell;
      ASSERT_EQ(EncodeJisText(sjis), code + Bytes({0})) << std::hex << row << ' ' << cell;
    }
  }
}

TEST(JisRoundTrip, MixedTextsOfNineteenCharactersSurvive) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> jis(0x21, 0x7E);
  std::uniform_int_distribution<int> ascii(0x20, 0x7E);
  std::bernoulli_distribution wide(0.6);
  for (int n = 0; n < 2000; ++n) {
    std::string field;
    for (int c = 0; c < 19; ++c) field += wide(rng) ? Bytes({jis(rng), jis(rng)}) : Bytes({0xFF, ascii(rng)});
    const std::string text = Decode(field + Bytes({0, 0}));
    ASSERT_EQ(EncodeJisText(text), field + Bytes({0}));
  }
}

// --- Bounded field copy ----------------------------------------------------------------------

TEST(CopyFieldText, WritesTwoZerosAfterTheTextAndKeepsTheRest) {
  std::vector<std::uint8_t> field(40, 0xEE);
  CopyFieldText(field.data(), "abc", 28);
  EXPECT_EQ(std::string(field.begin(), field.begin() + 5), std::string("abc\0\0", 5));
  EXPECT_EQ(field[5], 0xEE);
  EXPECT_EQ(field[39], 0xEE);
}

TEST(CopyFieldText, CutsAtTheLimitOrAtNul) {
  std::vector<std::uint8_t> field(40, 0xEE);
  CopyFieldText(field.data(), std::string(35, 'x'), 28);
  EXPECT_EQ(std::string(field.begin(), field.begin() + 28), std::string(28, 'x'));
  EXPECT_EQ(field[28], 0);
  EXPECT_EQ(field[29], 0);
  EXPECT_EQ(field[30], 0xEE);

  std::vector<std::uint8_t> other(40, 0xEE);
  CopyFieldText(other.data(), std::string("ab\0cd", 5), 28);
  EXPECT_EQ(std::string(other.begin(), other.begin() + 5), std::string("ab\0\0\xEE", 5));
}

// --- Dates and times -------------------------------------------------------------------------

TEST(DateTimeText, FormatsTheStoredBytes) {
  EXPECT_EQ(FormatDateText(6, 6, 20), "2006/06/20");
  EXPECT_EQ(FormatDateText(100, 1, 2), "20100/01/02");  // a year byte past 99 is shown as it is
  EXPECT_EQ(FormatDateText(255, 255, 255), "20255/255/255");
  EXPECT_EQ(FormatTimeText(9, 5, 0), "09:05:00");
  EXPECT_EQ(FormatTimeText(23, 59, 59), "23:59:59");
}

std::uint32_t PackedDate(std::time_t t) {
  std::tm tm = *std::localtime(&t);
  return static_cast<std::uint32_t>((tm.tm_year - 100) << 16 | (tm.tm_mon + 1) << 8 | tm.tm_mday);
}

std::uint32_t PackedTime(std::time_t t) {
  std::tm tm = *std::localtime(&t);
  return static_cast<std::uint32_t>(tm.tm_hour << 16 | tm.tm_min << 8 | tm.tm_sec);
}

TEST(CurrentDateTime, PacksTheLocalClock) {
  const std::time_t before = std::time(nullptr);
  const std::uint32_t date = CurrentDate();
  const std::uint32_t time = CurrentTime();
  const std::time_t after = std::time(nullptr);
  EXPECT_TRUE(date == PackedDate(before) || date == PackedDate(after)) << std::hex << date;
  // The clock may tick between reads: any second from `before` to `after` will do.
  bool matched = false;
  for (std::time_t t = before; t <= after; ++t) matched = matched || time == PackedTime(t);
  EXPECT_TRUE(matched) << std::hex << time;
}

}  // namespace
