// Reading and writing the fields of one point: what each setter stores, where it cuts, and
// that it leaves every other byte of the file as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"

namespace {

using R = PointRecord;

// Slot 0 holds a point whose every byte is non-zero, so any byte a setter touches shows.
PointFile JunkPoint() {
  Image image = EmptyImage();
  PutPoint(image, 0, 5);
  PutPoint(image, 1, 9);
  return Loaded(image);
}

std::string FieldBytes(const PointFile& file, int slot, std::size_t offset, std::size_t length) {
  const Image bytes = SlotOf(file, slot);
  return std::string(bytes.begin() + offset, bytes.begin() + offset + length);
}

TEST(NewPointFile, HoldsOnlyTheSignature) {
  PointFile file;
  EXPECT_EQ(ImageOf(file), EmptyImage());
  EXPECT_EQ(file.GetPointCount(), 0);
  EXPECT_FALSE(file.IsModified());
  EXPECT_EQ(file.CountPoints(), 0);
}

TEST(Reset, EmptiesTheImageButKeepsModified) {
  PointFile file = Loaded(ImageWithPoints(3));
  file.SetModified(1);
  file.Reset();
  EXPECT_EQ(ImageOf(file), EmptyImage());
  EXPECT_EQ(file.GetPointCount(), 0);
  EXPECT_TRUE(file.IsModified());
}

TEST(CountPoints, CountsTheLeadingRunOfUsedSlots) {
  EXPECT_EQ(Loaded(ImageWithPoints(230)).CountPoints(), 230);
  EXPECT_EQ(Loaded(ImageWithPoints(230)).GetPointCount(), 230);
  EXPECT_EQ(Loaded(ImageWithPoints(250)).CountPoints(), 250);

  Image gaps = ImageWithPoints(3);
  PutPoint(gaps, 5, 6);
  PutPoint(gaps, 249, 7);
  PutBigEndian32(SlotBytes(gaps, 1) + R::kInUse, 0x80000000);  // any non-zero word is in use
  const PointFile file = Loaded(gaps);
  EXPECT_EQ(file.CountPoints(), 3);
  EXPECT_EQ(file.CountStrayPoints(), 2);
  EXPECT_TRUE(file.IsUsed(1));
  EXPECT_EQ(file.GetInUse(1), 0x80000000u);
  EXPECT_FALSE(file.IsUsed(4));
}

struct SetterCase {
  const char* what;
  std::function<void(PointFile&)> apply;
  std::size_t first, end;  // the slot bytes it may write
  std::uint16_t flagBits;  // the flag bits it may change
  bool setsModified;
};

TEST(Setters, TouchOnlyTheirOwnBytesAndFlagBits) {
  const SetterCase cases[] = {
      {"SetInUse", [](PointFile& f) { f.SetInUse(0); }, 0, 4, 0, true},
      {"SetLongitudeText", [](PointFile& f) { f.SetLongitudeText(0, "139/44/28.5"); }, 4, 8, 0, true},
      {"SetLatitudeText", [](PointFile& f) { f.SetLatitudeText(0, "35/39/29.123"); }, 8, 12, 0, true},
      {"SetLongitude", [](PointFile& f) { f.SetLongitude(0, 1); }, 4, 8, 0, true},
      {"SetLatitude", [](PointFile& f) { f.SetLatitude(0, 1); }, 8, 12, 0, true},
      {"SetName", [](PointFile& f) { f.SetName(0, std::string(30, 'n')); }, 12, 52, 0, true},
      {"SetLocation", [](PointFile& f) { f.SetLocation(0, "loc"); }, 52, 92, 0, true},
      {"SetNickname", [](PointFile& f) { f.SetNickname(0, std::string(40, 'k')); }, 92, 122, R::kFlagNickname, true},
      {"SetNickname empty", [](PointFile& f) { f.SetNickname(0, ""); }, 92, 94, R::kFlagNickname, true},
      {"SetPhone", [](PointFile& f) { f.SetPhone(0, std::string(20, '9')); }, 124, 138, R::kFlagPhone, true},
      {"SetPhone empty", [](PointFile& f) { f.SetPhone(0, ""); }, 124, 126, R::kFlagPhone, true},
      {"SetIcon", [](PointFile& f) { f.SetIcon(0, 3); }, 149, 150, 0, true},
      {"SetIconText", [](PointFile& f) { f.SetIconText(0, "42"); }, 149, 150, 0, true},
      {"SetVoiceCode", [](PointFile& f) { f.SetVoiceCode(0, 0xFFFF); }, 0, 0, R::kVoiceMask, true},
      {"SetTime", [](PointFile& f) { f.SetTime(0, 0x0A0B0C); }, 152, 155, 0, false},
      {"SetDate", [](PointFile& f) { f.SetDate(0, 0x060614); }, 155, 158, 0, false},
      {"UpdateChecksum", [](PointFile& f) { f.UpdateChecksum(0); }, 160, 164, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PointFile file = JunkPoint();
    const Image before = ImageOf(file);
    c.apply(file);
    const Image after = ImageOf(file);
    for (std::size_t k = 0; k < after.size(); ++k) {
      const std::size_t slotStart = kHeaderLength;
      const bool inSlot0 = k >= slotStart && k < slotStart + R::kEncodedLength;
      const std::size_t offset = k - slotStart;
      if (inSlot0 && offset >= c.first && offset < c.end) continue;
      if (inSlot0 && (offset == R::kFlagWord || offset == R::kFlagWord + 1)) continue;
      ASSERT_EQ(after[k], before[k]) << "byte " << k;
    }
    const auto flagsBefore = GetBigEndian16(SlotBytes(before, 0) + R::kFlagWord);
    const auto flagsAfter = GetBigEndian16(SlotBytes(after, 0) + R::kFlagWord);
    EXPECT_EQ((flagsBefore ^ flagsAfter) & ~c.flagBits, 0) << std::hex << flagsBefore << ' ' << flagsAfter;
    EXPECT_EQ(file.IsModified(), c.setsModified);
  }
}

TEST(SetName, KeepsNineteenCharactersOfAnyMix) {
  PointFile file = JunkPoint();
  file.SetName(0, std::string(25, 'A'));
  EXPECT_EQ(file.GetName(0), std::string(19, 'A'));

  std::string wide;
  for (int n = 0; n < 25; ++n) wide += "\x93\x8C";  // 東
  file.SetName(0, wide);
  EXPECT_EQ(file.GetName(0), wide.substr(0, 38));

  std::string mixed;
  for (int n = 0; n < 13; ++n) mixed += "A\x93\x8C";
  file.SetLocation(0, mixed);
  EXPECT_EQ(file.GetLocation(0), mixed.substr(0, 9 * 3 + 1));
  EXPECT_EQ(FieldBytes(file, 0, R::kLocation + 38, 2), std::string(2, '\0'));
}

TEST(SetName, StoresTheTwoByteJisFormAndLeavesTheFieldTail) {
  PointFile file = JunkPoint();
  const std::string tail = FieldBytes(file, 0, R::kName + 8, 32);
  file.SetName(0, "A\x93\x8C\x8B\x9E");  // A東京
  EXPECT_EQ(FieldBytes(file, 0, R::kName, 8), std::string("\xFF\x41\x45\x6C\x35\x7E\0\0", 8));
  EXPECT_EQ(FieldBytes(file, 0, R::kName + 8, 32), tail);
  EXPECT_EQ(file.GetName(0), "A\x93\x8C\x8B\x9E");
}

TEST(SetNickname, StoresAtMost28BytesThenTwoZeros) {
  PointFile file = JunkPoint();
  const std::string beyond = FieldBytes(file, 0, 122, 2);
  file.SetNickname(0, std::string(28, 'k'));
  EXPECT_EQ(FieldBytes(file, 0, R::kNickname, 30), std::string(28, 'k') + std::string(2, '\0'));
  EXPECT_EQ(FieldBytes(file, 0, 122, 2), beyond);  // bytes 122-123 are never written
  EXPECT_EQ(file.GetNickname(0), std::string(28, 'k'));

  file.SetNickname(0, std::string(27, 'k') + "\x93\x8C");  // cut by bytes, inside the last character
  EXPECT_EQ(file.GetNickname(0), std::string(27, 'k') + "\x93");
}

TEST(GettersOfRawTexts, ReadAtMostTheirLimits) {
  const PointFile file = JunkPoint();  // no zero byte in any field
  EXPECT_EQ(file.GetNickname(0).size(), 30u);
  EXPECT_EQ(file.GetPhone(0).size(), 25u);
  EXPECT_LE(file.GetName(0).size(), 40u);
}

TEST(TextGetters, IntoAKeptBufferGiveTheSameTextsWhateverItHeld) {
  PointFile file;
  file.InsertRecord(0);
  file.SetName(0, "東京駅");
  file.SetLocation(0, "千代田区");
  file.SetNickname(0, "eki");
  file.SetPhone(0, "03");
  std::string buffer(64, 'x');
  file.GetName(0, buffer);
  EXPECT_EQ(buffer, file.GetName(0));
  file.GetLocation(0, buffer);
  EXPECT_EQ(buffer, file.GetLocation(0));
  file.GetNickname(0, buffer);
  EXPECT_EQ(buffer, "eki");
  file.GetPhone(0, buffer);
  EXPECT_EQ(buffer, "03");
}

TEST(SetPhone, StoresAtMost12BytesThenTwoZeros) {
  PointFile file = JunkPoint();
  const std::string beyond = FieldBytes(file, 0, 138, 11);
  file.SetPhone(0, "03-1234-56789999");
  EXPECT_EQ(file.GetPhone(0), "03-1234-5678");
  EXPECT_EQ(FieldBytes(file, 0, R::kPhone + 12, 2), std::string(2, '\0'));
  EXPECT_EQ(FieldBytes(file, 0, 138, 11), beyond);
}

TEST(TextFlags, FollowWhetherNicknameAndPhoneAreEmpty) {
  PointFile file = JunkPoint();
  const std::uint16_t start = file.GetFlagWord(0);
  file.SetNickname(0, "");
  EXPECT_EQ(file.GetFlagWord(0), start & ~R::kFlagNickname);
  file.SetNickname(0, "x");
  EXPECT_EQ(file.GetFlagWord(0), start | R::kFlagNickname);
  file.SetPhone(0, "");
  EXPECT_EQ(file.GetFlagWord(0), (start | R::kFlagNickname) & ~R::kFlagPhone);
  file.SetPhone(0, "1");
  EXPECT_EQ(file.GetFlagWord(0), start | R::kFlagNickname | R::kFlagPhone);
}

TEST(Icon, KeepsTheLowEightBitsOfTheLeadingDigits) {
  PointFile file = JunkPoint();
  // Even a number too long for any integer type keeps its low eight bits: (10^20 - 1) mod 256.
  const std::pair<const char*, int> cases[] = {{"300", 44}, {"abc", 0}, {"", 0},    {"12abc", 12},
                                               {"055", 55}, {"-5", 0},  {"+5", 0}, {"99999999999999999999", 255}};
  for (const auto& [text, icon] : cases) {
    file.SetIconText(0, text);
    EXPECT_EQ(file.GetIcon(0), icon) << text;
  }
  file.SetIcon(0, 257);
  EXPECT_EQ(file.GetIcon(0), 1);
  EXPECT_EQ(file.GetIconText(0), "01");
  file.SetIcon(0, 123);
  EXPECT_EQ(file.GetIconText(0), "123");
}

TEST(VoiceCode, OccupiesOnlyItsFiveBits) {
  PointFile file;
  file.InitRecord(0);
  file.SetVoiceCode(0, 0x3FF);
  EXPECT_EQ(file.GetVoiceCode(0), 0x3E0);
  EXPECT_EQ(file.GetFlagWord(0), 0x8000 | 0x3E0);
  file.SetVoiceCode(0, 0x0020);
  EXPECT_EQ(file.GetFlagWord(0), 0x8000 | 0x20);
}

TEST(Coordinates, AreStoredBigEndian) {
  PointFile file = JunkPoint();
  file.SetLatitudeText(0, "35/39/29.123");
  EXPECT_EQ(FieldBytes(file, 0, R::kLatitude, 4), "\x0F\xAB\x88\xFC");
  EXPECT_EQ(file.GetLatitude(0), 262899964u);
  EXPECT_EQ(file.GetLatitudeText(0), " 35/39/29.123");
  file.SetLongitudeText(0, "139 44 28.5");
  EXPECT_EQ(file.GetLongitudeText(0), "139/44/28.500");
}

TEST(DateAndTime, AreShownFromTheStoredBytes) {
  PointFile file = JunkPoint();
  file.SetDate(0, 0x060614);
  file.SetTime(0, 0x170509);
  EXPECT_EQ(file.GetDateText(0), "2006/06/20");
  EXPECT_EQ(file.GetTimeText(0), "23:05:09");
  EXPECT_EQ(file.GetDate(0), 0x060614u);
  EXPECT_EQ(file.GetTime(0), 0x170509u);
}

TEST(Checksum, SumsTheBigEndianWordsOfBytes4To159) {
  Image image = EmptyImage();
  std::uint8_t* slot = SlotBytes(image, 0);
  std::fill(slot + 4, slot + 160, 0xFF);
  PutBigEndian32(slot + R::kInUse, 1);
  PointFile file = Loaded(image);
  EXPECT_EQ(file.ComputeChecksum(0), 0xFFFFFFD9u);

  // inUse, the checksum itself and bytes 164-255 are not covered.
  Image other = image;
  PutBigEndian32(SlotBytes(other, 0) + R::kInUse, 7);
  PutBigEndian32(SlotBytes(other, 0) + R::kChecksum, 0x12345678);
  std::fill(SlotBytes(other, 0) + 164, SlotBytes(other, 0) + 256, 0xAB);
  EXPECT_EQ(Loaded(other).ComputeChecksum(0), 0xFFFFFFD9u);

  file.UpdateChecksum(0);
  EXPECT_EQ(FieldBytes(file, 0, R::kChecksum, 4), "\xFF\xFF\xFF\xD9");
  EXPECT_EQ(file.GetChecksum(0), 0xFFFFFFD9u);
}

TEST(Checksum, WeighsEachByteByItsPlaceInTheWord) {
  Image image = EmptyImage();
  PutBigEndian32(SlotBytes(image, 0) + R::kInUse, 1);
  SlotBytes(image, 0)[4] = 0x01;    // high byte of the first word
  SlotBytes(image, 0)[159] = 0x02;  // low byte of the last word
  EXPECT_EQ(Loaded(image).ComputeChecksum(0), 0x01000002u);
}

}  // namespace
