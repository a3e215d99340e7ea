// The drag transfer's rule on two point files: where the copies land, what they carry, the
// limit, and source rows that hold no point.
#include "import/transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"

namespace {

// `count` points named <prefix>0, <prefix>1 ... with a stamp and voice no fresh point has.
PointFile Named(const std::string& prefix, int count) {
  PointFile file;
  for (int i = 0; i < count; ++i) {
    file.InsertRecord(i);
    file.SetName(i, prefix + std::to_string(i));
    file.SetNickname(i, "n" + std::to_string(i));
    file.SetIcon(i, 40 + i % 10);
    file.SetLongitude(i, 139 * kUnitsPerDegree + 12345u * i + 1);
    file.SetVoiceCode(i, 0x0120);
    file.SetDate(i, (19u << 16) | (1u << 8) | 2u);
  }
  for (int i = 0; i < count; ++i) file.UpdateChecksum(i);
  return file;
}

std::vector<std::string> Names(const PointFile& file) {
  std::vector<std::string> names;
  for (int i = 0; i < file.CountPoints(); ++i) names.push_back(file.GetName(i));
  return names;
}

TEST(TransferPoints, CopiesTheRowsReversedInFrontOfTheDropRow) {
  const PointFile source = Named("S", 10);
  struct Case {
    int dropRow;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {3, {"P0", "P1", "P2", "S9", "S5", "S2", "P3", "P4"}},
      {-1, {"P0", "P1", "P2", "P3", "P4", "S9", "S5", "S2"}},
      {0, {"S9", "S5", "S2", "P0", "P1", "P2", "P3", "P4"}},
  };
  for (const Case& c : cases) {
    PointFile target = Named("P", 5);
    const std::vector<int> rows = {2, 5, 9};
    const Insertion done = TransferPoints(target, c.dropRow, source, rows, kSlotCount);
    EXPECT_EQ(Names(target), c.after) << c.dropRow;
    EXPECT_EQ(done.count, 3);
    EXPECT_FALSE(done.full);
    for (int slot = done.first; slot < done.first + 3; ++slot) {
      const int from = rows[2 - (slot - done.first)];
      // Every copied field exactly as stored; the stamp and voice those of a fresh point.
      EXPECT_EQ(target.GetLongitude(slot), source.GetLongitude(from));
      EXPECT_EQ(target.GetNickname(slot), source.GetNickname(from));
      EXPECT_EQ(target.GetIcon(slot), source.GetIcon(from));
      EXPECT_EQ(target.GetVoiceCode(slot), 0);
      EXPECT_NE(target.GetDate(slot), source.GetDate(from));
      EXPECT_EQ(target.GetChecksum(slot), target.ComputeChecksum(slot));
    }
  }
}

TEST(TransferPoints, StopsAtTheLimitAndSkipsRowsWithoutAPoint) {
  PointFile target = Named("P", 248);
  const PointFile source = Named("S", 10);
  const std::vector<int> rows = {1, 3, 6, 8};
  const Insertion done = TransferPoints(target, 0, source, rows, kSlotCount);
  EXPECT_TRUE(done.full);
  EXPECT_EQ(done.count, 2);
  EXPECT_EQ(target.GetName(0), "S3");
  EXPECT_EQ(target.GetName(1), "S1");
  EXPECT_EQ(target.GetPointCount(), kSlotCount);

  Image gappy = ImageWithPoints(2);
  PutPoint(gappy, 4, 99);
  const PointFile withGap = Loaded(gappy);
  PointFile small = Named("P", 1);
  const std::vector<int> gapRows = {2, 3, 4};  // rows 2 and 3 stand for empty slots
  EXPECT_EQ(TransferPoints(small, -1, withGap, gapRows, kSlotCount).count, 1);
  EXPECT_EQ(small.GetLongitude(1), 99u);
}

TEST(TransferPoints, AnInterchangeFilesPointsKeepTheirTimeStamp) {
  PointFile source = Named("S", 2);
  source.SetDate(1, 0x07E80501);
  source.SetTime(1, 0x00121E00);
  source.UpdateChecksum(1);
  PointFile target = Named("P", 1);
  const std::vector<int> rows = {1};
  TransferPoints(target, 0, source, rows, kSlotCount, Stamps::kFromSource);
  EXPECT_EQ(target.GetDate(0), source.GetDate(1));
  EXPECT_EQ(target.GetTime(0), source.GetTime(1));
  EXPECT_EQ(target.GetVoiceCode(0), 0);
  EXPECT_EQ(target.GetChecksum(0), target.ComputeChecksum(0));
}

}  // namespace
