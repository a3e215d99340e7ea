#include "app/point_entry.h"
#include "app/voice_guidance.h"

#include <gtest/gtest.h>

#include <vector>

#include "pointfile/point_file.h"
#include "pointfile/point_record.h"
#include "pointfile/text_forms.h"

namespace {

// Three points, saved state (modified cleared), so tests can see what a store changes.
PointFile ThreePoints() {
  PointFile file;
  for (int i = 0; i < 3; ++i) {
    file.InsertRecord(i);
    file.SetName(i, std::string("P") + char('A' + i));
    file.SetLongitudeText(i, "139/46/01.500");
    file.SetLatitudeText(i, "35/40/52.250");
    file.SetNickname(i, "nick");
    file.SetVoiceCode(i, 0x0A0);
    file.UpdateChecksum(i);
  }
  file.SetModified(0);
  return file;
}

std::vector<std::size_t> ChangedOffsets(const PointFile& before, const PointFile& after) {
  std::vector<std::size_t> changed;
  for (std::size_t k = 0; k < kPointFileLength; ++k) {
    if (before.Image()[k] != after.Image()[k]) changed.push_back(k);
  }
  return changed;
}

}  // namespace

TEST(IsLatLonPlausible, ChecksTheDegreesOfJapanInclusive) {
  EXPECT_TRUE(IsLatLonPlausible("139/46/01.500", " 35/40/52.250"));
  EXPECT_TRUE(IsLatLonPlausible("146 59 59", "45/59/59.999"));
  EXPECT_TRUE(IsLatLonPlausible("122", "24"));
  EXPECT_FALSE(IsLatLonPlausible("147/00/00.000", "35/00/00.000"));
  EXPECT_FALSE(IsLatLonPlausible("121", "35"));
  EXPECT_FALSE(IsLatLonPlausible("139", "23/59/59.999"));
  EXPECT_FALSE(IsLatLonPlausible("139", "46"));
  // The two entered in each other's place.
  EXPECT_FALSE(IsLatLonPlausible("35/39/29.000", "139/44/28.000"));
}

TEST(IsLatLonPlausible, ReadsTheFirstTokenAsAtolWould) {
  EXPECT_TRUE(IsLatLonPlausible("  139", "\t35"));
  EXPECT_TRUE(IsLatLonPlausible("'139'", ",35,"));
  EXPECT_TRUE(IsLatLonPlausible("+139", "35N"));  // digits end the number
  EXPECT_FALSE(IsLatLonPlausible("-139", "35"));
  EXPECT_FALSE(IsLatLonPlausible("E139", "35"));  // no leading digit: 0 degrees
  EXPECT_FALSE(IsLatLonPlausible("99999999999999999999139", "35"));
}

TEST(IsLatLonPlausible, RefusesTextsWithoutAnyToken) {
  EXPECT_FALSE(IsLatLonPlausible("/", "35"));
  EXPECT_FALSE(IsLatLonPlausible("139", ""));
  EXPECT_FALSE(IsLatLonPlausible(" . , ", " \n"));
}

TEST(CheckEntryOnOk, AsksForTheNameBeforeTheCoordinates) {
  EXPECT_EQ(CheckEntryOnOk("", "1", "2"), kEnterNameText);
  EXPECT_EQ(CheckEntryOnOk("a", "1", "2"), kEnterLatLonText);
  EXPECT_EQ(CheckEntryOnOk("a", "139", "35"), "");
}

TEST(StorePointEntry, OkWithoutChangesLeavesEveryByteAndTheFlag) {
  PointFile file = ThreePoints();
  // A coordinate whose text cannot reproduce it: a fraction of a millisecond.
  file.SetLongitude(1, 139u * kUnitsPerDegree + 1);
  file.UpdateChecksum(1);
  file.SetModified(0);
  const PointFile before = file;

  PointEntry entry = ReadPointEntry(file, 1);
  entry.voiceCode = 0x0A0;  // what the voice box gives back for the stored choice
  EXPECT_EQ(StorePointEntry(file, 1, entry), StoreResult::kStored);
  EXPECT_TRUE(ChangedOffsets(before, file).empty());
  EXPECT_FALSE(file.IsModified());
  EXPECT_EQ(file.GetLongitude(1), 139u * kUnitsPerDegree + 1);
}

TEST(StorePointEntry, WritesOnlyTheChangedFieldAndTheChecksum) {
  PointFile file = ThreePoints();
  const PointFile before = file;
  PointEntry entry = ReadPointEntry(file, 1);
  entry.nickname = "new";
  ASSERT_EQ(StorePointEntry(file, 1, entry), StoreResult::kStored);

  const std::size_t slot = kHeaderLength + PointRecord::kEncodedLength;
  for (std::size_t k : ChangedOffsets(before, file)) {
    const std::size_t at = k - slot;
    const bool inNickname = at >= PointRecord::kNickname && at < PointRecord::kNickname + 32;
    const bool inChecksum = at >= PointRecord::kChecksum && at < PointRecord::kChecksum + 4;
    EXPECT_TRUE(inNickname || inChecksum) << "offset " << at << " of slot 1";
  }
  EXPECT_EQ(file.GetNickname(1), "new");
  EXPECT_EQ(file.GetChecksum(1), file.ComputeChecksum(1));
  EXPECT_TRUE(file.IsModified());
}

TEST(StorePointEntry, ANewPointTakesTheSlotAndPushesTheRestDown) {
  PointFile file = ThreePoints();
  PointEntry entry = NewPointEntry();
  entry.name = "NEW";
  entry.longitude = "135/30/00.000";
  entry.latitude = "34/40/00.000";
  entry.iconNumber = 60;  // beyond the pictures, still a valid icon number
  entry.voiceCode = 0x000;
  entry.date = "2099/01/01";  // shown only: the insertion's own date stays
  ASSERT_EQ(InsertPointEntry(file, 1, entry, kSlotCount).count, 1);

  EXPECT_EQ(file.GetPointCount(), 4);
  EXPECT_EQ(file.GetName(0), "PA");
  EXPECT_EQ(file.GetName(1), "NEW");
  EXPECT_EQ(file.GetName(2), "PB");
  EXPECT_EQ(file.GetName(3), "PC");
  EXPECT_EQ(file.GetIcon(1), 60);
  EXPECT_EQ(file.GetLongitudeText(1), "135/30/00.000");
  EXPECT_EQ(file.GetFlagWord(1), PointRecord::kFlagCreated);
  EXPECT_NE(file.GetDateText(1), "2099/01/01");
  EXPECT_EQ(file.GetChecksum(1), file.ComputeChecksum(1));
}

TEST(StorePointEntry, AStoredVoiceCodeKeepsTheOtherFlagBits) {
  PointFile file = ThreePoints();
  PointEntry entry = ReadPointEntry(file, 0);
  entry.voiceCode = 0x3E0;
  ASSERT_EQ(StorePointEntry(file, 0, entry), StoreResult::kStored);
  EXPECT_EQ(file.GetFlagWord(0), PointRecord::kFlagCreated | PointRecord::kFlagNickname | 0x3E0);
}

TEST(StorePointEntry, AnIncompleteEntryChangesNothing) {
  for (int field = 0; field < 3; ++field) {
    PointFile file = ThreePoints();
    const PointFile before = file;
    PointEntry entry = NewPointEntry();
    entry.name = field == 0 ? "" : "x";
    entry.longitude = field == 1 ? "" : "139";
    entry.latitude = field == 2 ? "" : "35";
    EXPECT_FALSE(IsEntryComplete(entry));
    EXPECT_EQ(InsertPointEntry(file, 0, entry, kSlotCount).count, 0);
    EXPECT_EQ(StorePointEntry(file, 0, entry), StoreResult::kIncomplete);
    EXPECT_TRUE(ChangedOffsets(before, file).empty());
    EXPECT_EQ(file.GetPointCount(), 3);
    EXPECT_FALSE(file.IsModified());
  }
}

TEST(StorePointEntry, AFullTableTakesNoNewPoint) {
  PointFile file;
  for (int i = 0; i < kSlotCount; ++i) file.InsertRecord(i);
  file.SetModified(0);
  PointEntry entry = NewPointEntry();
  entry.name = "x";
  entry.longitude = "139";
  entry.latitude = "35";
  EXPECT_TRUE(InsertPointEntry(file, 0, entry, kSlotCount).full);
  EXPECT_EQ(file.GetPointCount(), kSlotCount);
  EXPECT_FALSE(file.IsModified());
}

TEST(ReadPointEntry, ShowsTheStoredVoiceBitsAndDateAndTime) {
  PointFile file = ThreePoints();
  file.SetDate(2, (24u << 16) | (3u << 8) | 9u);
  file.SetTime(2, (7u << 16) | (5u << 8) | 3u);
  const PointEntry entry = ReadPointEntry(file, 2);
  EXPECT_EQ(entry.voiceCode, 0x0A0);
  EXPECT_EQ(entry.date, "2024/03/09");
  EXPECT_EQ(entry.time, "07:05:03");
  EXPECT_EQ(entry.name, "PC");
  EXPECT_EQ(entry.iconNumber, 1);
}

TEST(VoiceGuidance, FindsTheEntryByTheVoiceBitsOnly) {
  EXPECT_EQ(VoiceIndexForCode(0x3E0), 0);
  EXPECT_EQ(VoiceIndexForCode(0x000), 1);
  EXPECT_EQ(VoiceIndexForCode(0x8400), 1);  // a new point's start value: fanfare
  EXPECT_EQ(VoiceIndexForCode(0xC1E0), 16);
  // Codes 16-30 have no entry and show as "no voice".
  EXPECT_EQ(VoiceIndexForCode(0x200), 0);
  EXPECT_EQ(VoiceIndexForCode(0x3C0), 0);
  for (int i = 0; i < kVoiceGuidanceCount; ++i) {
    EXPECT_EQ(VoiceIndexForCode(VoiceGuidanceTable[i].code), i) << i;
  }
}

TEST(StoreBulkChoice, SetsOnlyTheChosenFieldsOnTheUsedSlotsAndSealsThem) {
  PointFile file = ThreePoints();
  file.SetVoiceCode(0, 0x0A0);
  file.UpdateChecksum(0);
  const PointFile before = file;
  file.SetModified(false);
  StoreBulkChoice(file, std::vector<int>{0, 2, 7}, {std::nullopt, std::nullopt});
  EXPECT_FALSE(file.IsModified());  // nothing chosen: nothing written

  StoreBulkChoice(file, std::vector<int>{0, 2, 7}, {12, std::nullopt});
  EXPECT_EQ(file.GetIcon(0), 12);
  EXPECT_EQ(file.GetIcon(1), before.GetIcon(1));
  EXPECT_EQ(file.GetIcon(2), 12);
  EXPECT_EQ(file.GetVoiceCode(0), 0x0A0);  // the voice stays
  EXPECT_FALSE(file.IsUsed(7));            // an empty slot gets nothing

  StoreBulkChoice(file, std::vector<int>{0, 1}, {std::nullopt, 0xC1E0});
  EXPECT_EQ(file.GetVoiceCode(0), 0xC1E0 & PointRecord::kVoiceMask);
  EXPECT_EQ(file.GetVoiceCode(1), 0xC1E0 & PointRecord::kVoiceMask);
  EXPECT_EQ(file.GetIcon(0), 12);
  for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(file.GetChecksum(slot), file.ComputeChecksum(slot)) << slot;
}
