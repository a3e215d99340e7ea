#include "lists/point_text_row.h"

#include <gtest/gtest.h>

#include "pointfile/point_file.h"

TEST(PointTextRow, ShowsTheTextFormsOfAPoint) {
  PointFile file;
  ASSERT_EQ(file.InsertRecord(0), 1);
  file.SetName(0, "東京駅");
  file.SetLocation(0, "千代田区");
  file.SetNickname(0, "eki");
  file.SetPhone(0, "03-1234");
  file.SetIcon(0, 7);
  file.SetLongitudeText(0, "139/46/01.500");
  file.SetLatitudeText(0, "35/40/52.250");

  const PointTextRow row = PointTextRow::FromSlot(file, 0);
  EXPECT_EQ(row.name, "東京駅");
  EXPECT_EQ(row.location, "千代田区");
  EXPECT_EQ(row.nickname, "eki");
  EXPECT_EQ(row.phone, "03-1234");
  EXPECT_EQ(row.icon, "07");
  EXPECT_EQ(row.longitude, "139/46/01.500");
  EXPECT_EQ(row.latitude, " 35/40/52.250");
}

TEST(PointTextRow, AnEmptySlotGivesABlankRow) {
  PointFile file;
  EXPECT_EQ(PointTextRow::FromSlot(file, 3), PointTextRow{});
}

TEST(PointTextRow, AReusedRowShowsOnlyTheSlotItWasLastFilledFrom) {
  // The list refills one work row for every slot: nothing of a longer text, or of a point,
  // may stay behind in it.
  PointFile file;
  for (int slot : {0, 1}) ASSERT_EQ(file.InsertRecord(slot), 1);
  file.SetName(0, "東京都庁第一本庁舎展望室");
  file.SetPhone(0, "03-5321-1111");
  file.SetName(1, "駅");
  PointTextRow row;
  for (int slot : {0, 1, 7}) {  // 7: a gap, as a foreign file may have
    row.ReadSlot(file, slot);
    EXPECT_EQ(row, PointTextRow::FromSlot(file, slot)) << "slot " << slot;
  }
  EXPECT_EQ(row, PointTextRow{});
}

TEST(PointTextRow, IconImageIsTheNumberLessOneOrNone) {
  EXPECT_EQ(IconImageIndex("07"), 6);
  EXPECT_EQ(IconImageIndex("01"), 0);
  EXPECT_EQ(IconImageIndex("55"), 54);
  // No picture: not a number, icon 0, or beyond the drawn icons.
  EXPECT_EQ(IconImageIndex(""), -1);
  EXPECT_EQ(IconImageIndex("x7"), -1);
  EXPECT_EQ(IconImageIndex("00"), -1);
  EXPECT_EQ(IconImageIndex("56"), -1);
  EXPECT_EQ(IconImageIndex("181"), -1);
}

TEST(ListedSlotCount, ReachesTheLastUsedSlotAcrossGaps) {
  PointFile file;
  EXPECT_EQ(ListedSlotCount(file), 0);
  file.InsertRecord(0);
  file.InsertRecord(1);
  EXPECT_EQ(ListedSlotCount(file), 2);
  file.InsertRecord(5);  // a point after a gap, as a foreign file may have
  EXPECT_EQ(ListedSlotCount(file), 6);
  file.InsertRecord(kSlotCount - 1);
  EXPECT_EQ(ListedSlotCount(file), kSlotCount);
}
