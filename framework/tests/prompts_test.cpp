#include "framework/prompts.h"

#include <gtest/gtest.h>

#include <string>

// A path of thousands of characters (a hostile command line) must not make a box wider than
// the screen: what the box shows keeps the start and the end of the path and the cause.
TEST(FitTextForBox, BreaksLongLinesAndShortensHugeOnes) {
  const std::wstring usual = L"\"C:\\data\\a.pnt\"\n\nファイル未定義";
  EXPECT_EQ(FitTextForBox(usual), usual);
  EXPECT_EQ(FitTextForBox(L""), L"");
  EXPECT_EQ(FitTextForBox(L"a\n"), L"a\n");

  const std::wstring line(2 * kBoxLineLength + 5, L'x');
  EXPECT_EQ(FitTextForBox(line), std::wstring(kBoxLineLength, L'x') + L"\n" + std::wstring(kBoxLineLength, L'x') +
                                     L"\n" + std::wstring(5, L'x'));

  const std::wstring path = L"\"C:\\" + std::wstring(10000, L'a') + L".pnt\"";
  const std::wstring shown = FitTextForBox(path + L"\n\nファイル未定義");
  EXPECT_EQ(shown.substr(0, 4), L"\"C:\\");
  EXPECT_NE(shown.find(L"a.pnt\"\n\nファイル未定義"), std::wstring::npos);
  EXPECT_NE(shown.find(L"\n...\n"), std::wstring::npos);
  std::size_t longest = 0;
  for (std::size_t start = 0, end; start < shown.size(); start = end + 1) {
    end = shown.find(L'\n', start);
    if (end == std::wstring::npos) end = shown.size();
    longest = std::max(longest, end - start);
  }
  EXPECT_LE(longest, kBoxLineLength);
  EXPECT_LE(shown.size(), (kBoxLinePieces + 2) * (kBoxLineLength + 1) + 20);
}
