#include "framework/text_encoding.h"

#include <gtest/gtest.h>

#include "framework/sjis_path.h"

TEST(TextEncoding, JapaneseSurvivesTheRoundTrip) {
  const std::string sjis = "地点登録数 ｱﾌﾟﾘ 表示 ソフト";  // half-width kana and 0x5C trail bytes
  const std::wstring wide = WidenText(sjis);
  EXPECT_EQ(wide, L"地点登録数 ｱﾌﾟﾘ 表示 ソフト");
  EXPECT_EQ(NarrowText(wide), sjis);
  EXPECT_EQ(NarrowExactly(wide), sjis);
}

TEST(TextEncoding, PathsCodePage932CannotHoldAreRefused) {
  // An accented e would best-fit to 'e', Hangul and emoji have no code at all: each would
  // name another file. (Named outside the macros, whose texts must be Shift_JIS.)
  const std::wstring accented = L"C:\\caf\u00e9\\a.pnt";
  const std::wstring hangul = L"C:\\\uD55C\uAD6D\\a.pnt";
  const std::wstring emoji = L"C:\\\U0001F600.pnt";
  EXPECT_FALSE(NarrowExactly(accented));
  EXPECT_FALSE(NarrowExactly(hangul));
  EXPECT_FALSE(NarrowExactly(emoji));
  EXPECT_EQ(NarrowExactly(L""), std::string());

  const std::string message = UnrepresentablePathText(L"C:\\\uD55C.pnt");
  EXPECT_NE(message.find("\"C:\\?.pnt\""), std::string::npos) << message;
  EXPECT_NE(message.find("開けません"), std::string::npos);
}

TEST(ShiftJisPath, SplitsAtSeparatorsOnly) {
  PathParts p = SplitPath("C:\\data\\a.b\\file.name.PnT");
  EXPECT_EQ(p.drive, "C:");
  EXPECT_EQ(p.directory, "\\data\\a.b\\");
  EXPECT_EQ(p.name, "file.name");
  EXPECT_EQ(p.extension, ".PnT");

  p = SplitPath("a.pnt");
  EXPECT_EQ(p.drive + p.directory, "");
  EXPECT_EQ(p.name, "a");

  p = SplitPath("C:\\dir.x\\noext");
  EXPECT_EQ(p.directory, "\\dir.x\\");
  EXPECT_EQ(p.name, "noext");
  EXPECT_EQ(p.extension, "");

  p = SplitPath("\\\\server\\share/x.pnt");
  EXPECT_EQ(p.directory, "\\\\server\\share/");
}

TEST(ShiftJisPath, ATrailByte5CIsNoSeparator) {
  // 表 and ソ end in 0x5C, the byte of '\'.
  PathParts p = SplitPath("C:\\表\\ソ.pnt");
  EXPECT_EQ(p.directory, "\\表\\");
  EXPECT_EQ(p.name, "ソ");
  EXPECT_EQ(p.extension, ".pnt");

  p = SplitPath("C:\\能力表");
  EXPECT_EQ(p.directory, "\\");
  EXPECT_EQ(p.name, "能力表");
}

