// Points to and from the clipboard's text at the level of slots: a copy pasted back gives every
// point's slot byte for byte in either datum; what a slot cannot hold is left out and said.
#include "import/clipboard_points.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> SlotBytes(const PointFile& file, int slot) {
  const auto first = file.Image().begin() + kHeaderLength + slot * PointRecord::kEncodedLength;
  return std::vector<std::uint8_t>(first, first + PointRecord::kEncodedLength);
}

TEST(ClipboardPoints, ACopyPastedBackIsTheSameSlotsInEitherDatum) {
  PointFile file;
  for (int i = 0; i < 40; ++i) {
    file.InsertRecord(i);
    file.SetName(i, "地点" + std::to_string(i));
    file.SetLocation(i, "所在地");
    file.SetNickname(i, "ﾆｯｸ");
    file.SetPhone(i, "0" + std::to_string(i));
    // Spread over Japan, on no round number.
    file.SetLongitude(i, 122u * kUnitsPerDegree + static_cast<std::uint32_t>(i) * 4423679u);
    file.SetLatitude(i, 24u * kUnitsPerDegree + static_cast<std::uint32_t>(i) * 3866113u);
    file.SetIcon(i, i + 1);
    file.SetVoiceCode(i, static_cast<std::uint16_t>((i % 32) << 5));
    file.SetDate(i, static_cast<std::uint32_t>((24 << 16) | (1 + i % 12) << 8 | (1 + i % 28)));
    file.SetTime(i, static_cast<std::uint32_t>((i % 24) << 16 | 7 << 8 | 59));
    file.UpdateChecksum(i);
  }
  std::vector<int> all(40);
  for (int i = 0; i < 40; ++i) all[static_cast<std::size_t>(i)] = i;
  for (const bool tokyo : {false, true}) {
    SCOPED_TRACE(tokyo ? "Tokyo" : "WGS 84");
    PointFile pasted;
    const ForeignRead read = ReadPastedPoints(CopiedPointsText(file, all, tokyo), tokyo, pasted);
    ASSERT_TRUE(read.loaded) << read.message;
    EXPECT_EQ(read.message, "");
    PointFile target;
    EXPECT_EQ(InsertPastedPoints(target, 0, pasted, kSlotCount).count, 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(SlotBytes(target, i), SlotBytes(file, i)) << "slot " << i;
  }
}

TEST(ClipboardPoints, LeavesOutWhatASlotCannotHoldAndNamesTheNameless) {
  PointFile pasted;
  const ForeignRead read = ReadPastedPoints("35.5, 139.5\nRio -22.9, -43.2\n", false, pasted);
  ASSERT_TRUE(read.loaded);
  EXPECT_EQ(read.message, "1 地点は位置を登録できないため除きました。");
  ASSERT_EQ(pasted.GetPointCount(), 1);
  EXPECT_EQ(pasted.GetName(0), kPastedPointName);

  const ForeignRead none = ReadPastedPoints("Rio -22.9, -43.2", false, pasted);
  EXPECT_FALSE(none.loaded);
  EXPECT_NE(none.message.find("何も追加しませんでした"), std::string::npos);
}

}  // namespace
