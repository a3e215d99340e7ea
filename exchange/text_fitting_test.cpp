// Texts and numbers on their way into a point file's fields: code page 932 both ways, cuts at
// character boundaries, half-width katakana in the name fields, coordinate bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "exchange/cp932.h"
#include "exchange/point_waypoint.h"

namespace {

TEST(Cp932, UndecodableBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Cp932ToUtf8("\x93\x8C\x8B\x9E"), "東京");
  EXPECT_EQ(Cp932ToUtf8("A\xA0" "B"), "A\xEF\xBF\xBD" "B");  // 0xA0 is no character
  EXPECT_EQ(Cp932ToUtf8("A\x93"), "A\xEF\xBF\xBD");          // a lead byte cut off at the end
  EXPECT_EQ(Cp932ToUtf8("\xB1\xB2"), "ｱｲ");                   // single-byte katakana
}

TEST(Cp932, CharactersItCannotHoldBecomeQuestionMarksAndAreCounted) {
  Cp932Text text = Utf8ToCp932("東京 😀 Ω ü \xC3 ₩");  // emoji, umlaut, a broken sequence, the won sign
  EXPECT_EQ(text.text, "\x93\x8C\x8B\x9E ? \x83\xB6 u ? ?");
  EXPECT_EQ(text.replaced, 3);
  EXPECT_EQ(text.folded, 1);
  EXPECT_TRUE(IsValidUtf8("東京"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_EQ(InvalidUtf8Offset("ab\xC0\xAF"), 2u);  // an overlong form
}

TEST(Cp932, LettersWithDiacriticsFoldToTheirBaseLetters) {
  struct Case {
    const char* utf8;
    const char* cp932;
    int folded, replaced;
  };
  const Case cases[] = {
      {"Würzburg", "Wurzburg", 1, 0},
      {"Straße Æbeltoft Øresund Þingvellir", "Strasse AEbeltoft Oresund Thingvellir", 4, 0},
      {"Łódź Čáslav İzmir", "Lodz Caslav Izmir", 6, 0},
      {"Cafe\u0301 na\u0308ive", "Cafe naive", 2, 0},  // decomposed: the marks are left out
      {"東\u0301", "\x93\x8C?", 0, 1},                  // a mark after no Latin letter
      {"× ÷ ° §", "\x81\x7E \x81\x80 \x81\x8B \x81\x98", 0, 0},  // held by code page 932 itself
      {"Ǆ ẞ", "? ?", 0, 2},                               // beyond the table
  };
  for (const Case& c : cases) {
    const Cp932Text text = Utf8ToCp932(c.utf8);
    EXPECT_EQ(text.text, c.cp932) << c.utf8;
    EXPECT_EQ(text.folded, c.folded) << c.utf8;
    EXPECT_EQ(text.replaced, c.replaced) << c.utf8;
  }
  TextChanges changes;
  EXPECT_EQ(FitFieldText("Zürich ☃", TextField::kNickname, changes), "Zurich ?");
  EXPECT_EQ(changes.folded, 1);
  EXPECT_EQ(changes.replaced, 1);
}

TEST(FieldTexts, NamesHoldNineteenCharactersOfAnyWidth) {
  TextChanges changes;
  std::string name = FitFieldText("一二三四五六七八九十一二三四五六七八九X", TextField::kName, changes);
  EXPECT_EQ(Cp932ToUtf8(name), "一二三四五六七八九十一二三四五六七八九");
  EXPECT_EQ(changes.cut, 1);
  EXPECT_EQ(FitFieldText("abcdefghijklmnopqrs", TextField::kLocation, changes), "abcdefghijklmnopqrs");
  EXPECT_EQ(changes.cut, 1);
}

TEST(FieldTexts, NicknamesAndPhonesAreNeverCutInsideACharacter) {
  TextChanges changes;
  // 27 ASCII bytes and a double-byte character: 29 bytes, one more than the field takes.
  std::string nickname = FitFieldText(std::string(27, 'a') + "あ", TextField::kNickname, changes);
  EXPECT_EQ(nickname, std::string(27, 'a'));
  EXPECT_EQ(changes.cut, 1);
  EXPECT_EQ(FitFieldText("03-1234-56789", TextField::kPhone, changes), "03-1234-5678");
  EXPECT_EQ(changes.cut, 2);
}

TEST(FieldTexts, HalfWidthKanaWidenOnlyWhereTheStorageFormNeedsIt) {
  TextChanges changes;
  EXPECT_EQ(Cp932ToUtf8(FitFieldText("ｶﾞｯｺｳﾊﾟﾝｳﾞｧ｡", TextField::kName, changes)), "ガッコウパンヴァ。");
  // The nickname is plain Shift_JIS, which has the single-byte forms.
  EXPECT_EQ(FitFieldText("ｶﾞ", TextField::kNickname, changes), "\xB6\xDE");
  EXPECT_EQ(changes.cut + changes.replaced, 0);
}

TEST(FieldTexts, ControlCharactersBecomeBlanks) {
  TextChanges changes;
  EXPECT_EQ(FitFieldText("a\nb\tc", TextField::kLocation, changes), "a b c");
  // A NUL would end the field early.
  EXPECT_EQ(FitFieldText(std::string("a\0b", 3), TextField::kNickname, changes), "a b");
}

TEST(Coordinates, DegreesOutsideTheStoredRangeAreRefused) {
  EXPECT_EQ(UnitsFromDegrees(0), 0u);
  EXPECT_EQ(UnitsFromDegrees(35.658098), 262900025u);
  EXPECT_EQ(UnitsFromDegrees(4294967295.0 / 7372800), 4294967295u);
  EXPECT_FALSE(UnitsFromDegrees(4294967296.0 / 7372800));
  EXPECT_FALSE(UnitsFromDegrees(-0.000001));
  EXPECT_FALSE(UnitsFromDegrees(std::nan("")));
  EXPECT_NEAR(DegreesFromUnits(262899964), 35.658089735, 1e-9);
}

}  // namespace
