// The duplicate rule and the point-by-point comparison built on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pointfile/duplicates.h"
#include "pointfile/point_diff.h"
#include "pointfile/point_file.h"

namespace {

// Tokyo Station, and offsets from it in metres turned into file units (1/2048 arc-second;
// one second of latitude is about 30.87 m, one of longitude at 35.68 degrees about 25.07 m).
constexpr std::uint32_t kLon = 139 * kUnitsPerDegree + 46 * 60 * 2048 + 1 * 2048;
constexpr std::uint32_t kLat = 35 * kUnitsPerDegree + 40 * 60 * 2048 + 52 * 2048;
std::uint32_t North(double metres) { return kLat + static_cast<std::uint32_t>(metres / 30.8 * 2048); }
std::uint32_t East(double metres) { return kLon + static_cast<std::uint32_t>(metres / 25.07 * 2048); }

TEST(DuplicateRule, SameNameWithin300MetresOrAnyPointWithin30) {
  struct Case {
    const char* what;
    std::string nameA, nameB;
    double north, east;
    bool duplicate;
  };
  const Case cases[] = {
      {"same place, other name", "A", "B", 0, 0, true},
      {"other name at 25 m", "A", "B", 25, 0, true},
      {"other name at 35 m", "A", "B", 35, 0, false},
      {"same name at 290 m north", "A", "A", 290, 0, true},
      {"same name at 290 m east", "A", "A", 0, 290, true},
      {"same name at 310 m", "A", "A", 310, 0, false},
      {"same name far away", "A", "A", 5000, 5000, false},
      {"unnamed points at 100 m", "", "", 100, 0, false},
      {"unnamed points at 20 m", "", "", 20, 0, true},
  };
  for (const Case& c : cases) {
    const PointPlace a{c.nameA, kLon, kLat};
    const PointPlace b{c.nameB, East(c.east), North(c.north)};
    EXPECT_EQ(IsDuplicatePlace(a, b), c.duplicate) << c.what;
    EXPECT_EQ(IsDuplicatePlace(b, a), c.duplicate) << c.what << " (reversed)";
  }
}

TEST(DuplicateRule, GroundDistanceMatchesKnownFigures) {
  EXPECT_NEAR(GroundDistanceMetres(kLon, kLat, kLon, kLat + 2048), 30.87, 0.05);  // one second north
  // Tokyo Station to Osaka Station: about 403 km.
  const std::uint32_t osakaLon = 135 * kUnitsPerDegree + 29 * 60 * 2048 + 45 * 2048;
  const std::uint32_t osakaLat = 34 * kUnitsPerDegree + 42 * 60 * 2048 + 8 * 2048;
  EXPECT_NEAR(GroundDistanceMetres(kLon, kLat, osakaLon, osakaLat) / 1000, 403.5, 1.0);
}

// A file whose points are given as name and offset north in metres (all on one meridian).
struct Spot {
  std::string name;
  double north;
};
PointFile FileOf(const std::vector<Spot>& spots) {
  PointFile file;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    const int slot = static_cast<int>(i);
    file.SetInUse(slot);
    file.SetName(slot, spots[i].name);
    file.SetLongitude(slot, kLon);
    file.SetLatitude(slot, North(spots[i].north));
    file.SetIcon(slot, 1);
    file.UpdateChecksum(slot);
  }
  return file;
}

std::string Describe(const PointDiff& diff) {
  std::string text;
  for (int i : diff.removed) text += "-" + std::to_string(i) + " ";
  for (int j : diff.added) text += "+" + std::to_string(j) + " ";
  for (const PairedPoint& pair : diff.paired) {
    if (!pair.moved && pair.changed.empty()) continue;
    text += std::to_string(pair.slotA) + (pair.moved ? ">" : "=") + std::to_string(pair.slotB);
    for (PointField field : pair.changed) text += std::string(":") + PointFieldName(field);
    text += " ";
  }
  return text;
}

TEST(PointDiff, ReportsAddedRemovedMovedAndChangedPoints) {
  const std::vector<Spot> base = {{"A", 0}, {"B", 1000}, {"C", 2000}, {"D", 3000}};
  struct Case {
    const char* what;
    std::vector<Spot> other;
    std::string expected;
  };
  const Case cases[] = {
      {"the same points", base, ""},
      {"one inserted: later slots shift but nothing moved", {{"A", 0}, {"N", 500}, {"B", 1000}, {"C", 2000}, {"D", 3000}}, "+1 "},
      {"one removed", {{"A", 0}, {"C", 2000}, {"D", 3000}}, "-1 "},
      {"one moved to the end", {{"B", 1000}, {"C", 2000}, {"D", 3000}, {"A", 0}}, "0>3 "},
      {"renamed in place (within 30 m)", {{"A", 0}, {"X", 1010}, {"C", 2000}, {"D", 3000}}, "1=1:name:latitude "},
      {"moved 200 m under its name", {{"A", 0}, {"B", 1200}, {"C", 2000}, {"D", 3000}}, "1=1:latitude "},
      {"moved 400 m: another point", {{"A", 0}, {"B", 1400}, {"C", 2000}, {"D", 3000}}, "-1 +1 "},
      {"two swapped", {{"A", 0}, {"C", 2000}, {"B", 1000}, {"D", 3000}}, "2>1 "},
  };
  const PointFile a = FileOf(base);
  for (const Case& c : cases) {
    const PointDiff diff = DiffPoints(a, FileOf(c.other));
    EXPECT_EQ(Describe(diff), c.expected) << c.what;
    EXPECT_EQ(diff.DifferingPoints() == 0, c.expected.empty()) << c.what;
  }
}

TEST(PointDiff, PairsIdenticalPointsFirstAmongDuplicates) {
  // Two points of one name 100 m apart; the second file holds them in the other order and
  // edits one: each must find its own partner, not the nearer look-alike.
  PointFile a = FileOf({{"S", 0}, {"S", 100}});
  PointFile b = FileOf({{"S", 100}, {"S", 0}});
  b.SetPhone(1, "03-1234");
  b.UpdateChecksum(1);
  EXPECT_EQ(Describe(DiffPoints(a, b)), "0=1:phone 1>0 ");
}

}  // namespace
