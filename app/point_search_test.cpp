// Find and sort without a window: the foldings, the fields searched, each column's order
// and its reversal, stability, and a file with gaps between its points.
#include "app/point_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/text_folding.h"
#include "pointfile/point_file.h"

namespace {

struct Point {
  std::string name, nickname, location, phone;
  int icon;
  std::string longitude, latitude;
};

PointFile FileOf(const std::vector<Point>& points) {
  PointFile file;
  for (int i = 0; i < static_cast<int>(points.size()); ++i) {
    const Point& p = points[i];
    file.InsertRecord(i);
    file.SetName(i, p.name);
    file.SetNickname(i, p.nickname);
    file.SetLocation(i, p.location);
    file.SetPhone(i, p.phone);
    file.SetIcon(i, p.icon);
    file.SetLongitudeText(i, p.longitude);
    file.SetLatitudeText(i, p.latitude);
  }
  for (int i = 0; i < static_cast<int>(points.size()); ++i) file.UpdateChecksum(i);
  return file;
}

std::vector<std::string> Names(const PointFile& file) {
  std::vector<std::string> names;
  for (int i = 0; i < kSlotCount; ++i) names.push_back(file.IsUsed(i) ? file.GetName(i) : "-");
  while (!names.empty() && names.back() == "-") names.pop_back();
  return names;
}

TEST(TextFoldingTest, FormsAUserDoesNotTellApartFoldToOne) {
  const std::pair<const char*, const char*> same[] = {
      {"とうきょう", "トウキョウ"},       // hiragana and katakana
      {"ﾄｳｷｮｳ", "トウキョウ"},            // half-width katakana
      {"ｶﾞｿﾘﾝ ﾊﾟﾝ", "ガソリン　パン"},    // voiced marks join; a full-width blank
      {"ｳﾞｨ", "ヴィ"},
      {"ＡＢＣ－１２３", "abc-123"},      // full-width letters, digits, signs; case
      {"Tokyo", "tOKYO"},
  };
  for (const auto& [a, b] : same) EXPECT_EQ(FoldText(a), FoldText(b)) << a << " " << b;
  // What stays apart: a kanji, a mark that joins nothing, voiced and plain kana.
  EXPECT_NE(FoldText("カ"), FoldText("ガ"));
  EXPECT_EQ(FoldText("ﾝﾞ"), FoldText("ン゛"));
  // A double-byte character's trail byte never matches an ASCII letter: "表" is 0x95 0x5C.
  EXPECT_EQ(FoldText("表").find(FoldText("\\")), std::u16string::npos);
}

TEST(PointSearchTest, FindsEveryPointWhoseTextsHoldTheFoldedText) {
  const PointFile file = FileOf({
      {"東京駅", "ﾄｳｷｮｳｴｷ", "千代田区", "03-1234", 1, "139/46/01.000", "35/40/52.000"},
      {"大阪城", "おおさかじょう", "中央区", "06-9999", 2, "135/31/35.000", "34/41/14.000"},
      {"Tokyo Tower", "", "港区", "", 3, "139/44/43.000", "35/39/31.000"},
  });
  EXPECT_EQ(FindPoints(file, "とうきょう"), (std::vector<int>{0}));       // the nickname
  EXPECT_EQ(FindPoints(file, "ｵｵｻｶ"), (std::vector<int>{1}));             // folded both ways
  EXPECT_EQ(FindPoints(file, "TOKYO"), (std::vector<int>{2}));            // the name, any case
  EXPECT_EQ(FindPoints(file, "区"), (std::vector<int>{0, 1, 2}));         // the location
  EXPECT_EQ(FindPoints(file, "０６－"), (std::vector<int>{1}));           // the phone
  EXPECT_TRUE(FindPoints(file, "").empty());
  EXPECT_TRUE(FindPoints(file, std::string(10000, 'a')).empty());
}

TEST(PointSearchTest, SortsByEachColumnStablyAndReverses) {
  const std::vector<Point> points = {
      {"い", "ｶﾞｯｺｳ", "B", "2", 5, "139/00/00.000", "35/00/03.000"},
      {"あ", "かわ", "A", "3", 1, "140/00/00.000", "35/00/01.000"},
      {"う", "ア", "B", "1", 5, "138/00/00.000", "35/00/02.000"},
  };
  struct Case {
    PointColumn column;
    std::vector<std::string> ascending, descending;
  };
  const Case cases[] = {
      {PointColumn::kIcon, {"あ", "い", "う"}, {"い", "う", "あ"}},  // equal icons keep their order
      {PointColumn::kName, {"あ", "い", "う"}, {"う", "い", "あ"}},
      {PointColumn::kNickname, {"う", "あ", "い"}, {"い", "あ", "う"}},  // ア, カワ, ガッコウ: kana order
      {PointColumn::kLocation, {"あ", "い", "う"}, {"い", "う", "あ"}},
      {PointColumn::kPhone, {"う", "い", "あ"}, {"あ", "い", "う"}},
      {PointColumn::kLongitude, {"う", "い", "あ"}, {"あ", "い", "う"}},
      {PointColumn::kLatitude, {"あ", "う", "い"}, {"い", "う", "あ"}},
  };
  for (const Case& c : cases) {
    PointFile file = FileOf(points);
    const PointFile original = file;
    EXPECT_TRUE(SortPoints(file, c.column, false) || Names(file) == Names(original));
    EXPECT_EQ(Names(file), c.ascending) << static_cast<int>(c.column);
    SortPoints(file, c.column, true);
    EXPECT_EQ(Names(file), c.descending) << static_cast<int>(c.column);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(file.ComputeChecksum(i), file.GetChecksum(i));
  }
}

TEST(PointSearchTest, ASortKeepsTheGapsAndEveryPointWhole) {
  PointFile file = FileOf({{"C", "", "", "", 1, "139/00/00.000", "35/00/00.000"},
                           {"A", "", "", "", 1, "139/00/00.000", "35/00/00.000"}});
  for (int slot : {5, 9}) {
    file.InsertRecord(slot);
    file.SetName(slot, slot == 5 ? "D" : "B");
    file.UpdateChecksum(slot);
  }
  const int count = file.GetPointCount();
  EXPECT_TRUE(SortPoints(file, PointColumn::kName, false));
  EXPECT_EQ(Names(file), (std::vector<std::string>{"A", "B", "-", "-", "-", "C", "-", "-", "-", "D"}));
  EXPECT_EQ(file.GetPointCount(), count);
  EXPECT_TRUE(file.IsModified());
  for (int slot : {0, 1, 5, 9}) EXPECT_EQ(file.ComputeChecksum(slot), file.GetChecksum(slot)) << slot;
  // Sorted already: nothing changes.
  file.SetModified(false);
  EXPECT_FALSE(SortPoints(file, PointColumn::kName, false));
  EXPECT_FALSE(file.IsModified());
}

}  // namespace
