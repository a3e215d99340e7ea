// The preview's judgement at the edges of its rules: the duplicate rule's two radii against the
// open file, the unit's area by whole degrees, rows without a position, texts cut to fit; the
// summary text and the sorting of a drag.
#include "import/preview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "pointfile/duplicates.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"

namespace {

constexpr double kRadius = 6371008.8;  // the duplicate rule's sphere
const double kLatitude = 35.681236, kLongitude = 139.767125;

std::uint32_t Units(double degrees) { return static_cast<std::uint32_t>(std::lround(degrees * kUnitsPerDegree)); }
double NorthDegrees(double metres) { return metres / (kRadius * std::numbers::pi / 180); }
double EastDegrees(double metres) { return NorthDegrees(metres) / std::cos(kLatitude * std::numbers::pi / 180); }

struct Place {
  std::string name;
  double longitude, latitude;
};

PointFile FileOf(const std::vector<Place>& places) {
  PointFile file;
  for (int i = 0; i < static_cast<int>(places.size()); ++i) {
    file.InsertRecord(i);
    file.SetName(i, places[i].name);
    file.SetLongitude(i, Units(places[i].longitude));
    file.SetLatitude(i, Units(places[i].latitude));
    file.UpdateChecksum(i);
  }
  return file;
}

TEST(JudgeSourceRows, DuplicatesAreaAndFactsAtTheirEdges) {
  const PointFile open = FileOf({{"東京駅", kLongitude, kLatitude}, {"far", 10.5, 50.5}});
  struct Case {
    Place row;
    SourceRowFacts facts;
    RowVerdict verdict;
  };
  const RowVerdict fresh{true, false, false, false}, duplicate{true, false, true, false},
      cannotStore{true, true, false, false};
  const Case cases[] = {
      {{"東京駅", kLongitude, kLatitude + NorthDegrees(299)}, {}, duplicate},
      {{"東京駅", kLongitude, kLatitude + NorthDegrees(301)}, {}, fresh},
      {{"東京駅", kLongitude, kLatitude - NorthDegrees(299)}, {}, duplicate},
      {{"東京駅", kLongitude + EastDegrees(299), kLatitude}, {}, duplicate},
      {{"東京駅", kLongitude - EastDegrees(301), kLatitude}, {}, fresh},
      {{"東京", kLongitude + EastDegrees(29), kLatitude}, {}, duplicate},
      {{"東京", kLongitude + EastDegrees(31), kLatitude}, {}, fresh},
      {{"", kLongitude, kLatitude + NorthDegrees(29)}, {}, duplicate},
      {{"", kLongitude, kLatitude + NorthDegrees(100)}, {}, fresh},
      // The area by whole degrees: 146°59'59" and 45°59'59" are in, 147° and 23°59'59" out.
      {{"edge", 146 + 3599.0 / 3600, 45 + 3599.0 / 3600}, {}, fresh},
      {{"low", 122, 24}, {}, fresh},
      {{"east", 147, 35}, {}, cannotStore},
      {{"south", 139, 24 - 1.0 / 3600}, {}, cannotStore},
      {{"west", 121 + 3599.0 / 3600, 35}, {}, cannotStore},
      {{"north", 139, 46}, {}, cannotStore},
      // A point the unit cannot take is never called a duplicate, even of an open point
      // standing where it does.
      {{"far", 10.5, 50.5}, {}, cannotStore},
      {{"東京駅", kLongitude, kLatitude}, {false, false}, cannotStore},
      {{"東京駅", kLongitude, kLatitude}, {true, true}, {true, false, true, true}},
      {{"long name", 139, 36}, {true, true}, {true, false, false, true}},
  };
  std::vector<Place> rows;
  std::vector<SourceRowFacts> facts;
  for (const Case& c : cases) {
    rows.push_back(c.row);
    facts.push_back(c.facts);
  }
  const PointFile source = FileOf(rows);
  const int count = static_cast<int>(rows.size());
  const std::vector<RowVerdict> verdicts = JudgeSourceRows(source, count, facts, open);
  ASSERT_EQ(verdicts.size(), rows.size());
  for (int i = 0; i < count; ++i) {
    const RowVerdict& got = verdicts[i];
    const RowVerdict& want = cases[i].verdict;
    EXPECT_EQ(got, want) << "row " << i << " (" << cases[i].row.name << "): point " << got.point << " cannotStore "
                         << got.cannotStore << " duplicate " << got.duplicate << " shortened " << got.shortened;
  }

  // A point file's rows: no facts; a gap is no point. (These points stand far outside the area.)
  Image gappy = ImageWithPoints(2);
  PutPoint(gappy, 4, 99);
  std::vector<bool> points;
  for (const RowVerdict& verdict : JudgeSourceRows(Loaded(gappy), 5, {}, open)) {
    points.push_back(verdict.point);
    EXPECT_EQ(verdict.cannotStore, verdict.point);
  }
  EXPECT_EQ(points, (std::vector<bool>{true, true, false, false, true}));
  // Against an empty open file nothing is a duplicate.
  EXPECT_EQ(CountVerdicts(JudgeSourceRows(source, count, facts, PointFile())),
            (PreviewCounts{count, 0, 6, 2}));
  EXPECT_EQ(CountVerdicts(verdicts), (PreviewCounts{count, 6, 6, 2}));
}

// The judgement skips pairs by bounds before it measures: it must still find what measuring
// every pair finds, here for places scattered within a kilometre, a few sharing names.
TEST(JudgeSourceRows, FindsWhatTheRuleFindsPairByPair) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> metres(-1000, 1000);
  auto scatter = [&](const std::string& prefix, int count) {
    std::vector<Place> places;
    for (int i = 0; i < count; ++i)
      places.push_back({prefix + std::to_string(i % 40), kLongitude + EastDegrees(metres(random)),
                        kLatitude + NorthDegrees(metres(random))});
    return FileOf(places);
  };
  const PointFile open = scatter("p", 250), source = scatter("p", 250);
  const std::vector<RowVerdict> verdicts = JudgeSourceRows(source, kSlotCount, {}, open);
  int duplicates = 0;
  for (int row = 0; row < kSlotCount; ++row) {
    bool expected = false;
    for (int slot = 0; slot < kSlotCount && !expected; ++slot)
      expected = IsDuplicatePlace(PlaceOfPoint(source, row), PlaceOfPoint(open, slot));
    EXPECT_EQ(verdicts[row].duplicate, expected) << row;
    duplicates += expected;
  }
  EXPECT_GT(duplicates, 20);  // the test looks at both kinds
  EXPECT_LT(duplicates, 230);
}

TEST(PreviewSummaryText, LeavesOutTheCountsOfNothing) {
  const std::pair<PreviewCounts, std::string> cases[] = {
      {{12, 3, 1, 2}, "インポート 12地点: 重複 3, 登録不可 1, 短縮 2"},
      {{5, 0, 1, 0}, "インポート 5地点: 登録不可 1"},
      {{5, 2, 0, 4}, "インポート 5地点: 重複 2, 短縮 4"},
      {{250, 0, 0, 0}, "インポート 250地点"},
  };
  for (const auto& [counts, text] : cases) EXPECT_EQ(PreviewSummaryText(counts), text);
}

TEST(SortDraggedRows, LeavesOutWhatCannotBeStoredAndTellsDuplicatesApart) {
  const RowVerdict none{}, fresh{true, false, false, false}, duplicate{true, false, true, true},
      cannotStore{true, true, false, false};
  const std::vector<RowVerdict> verdicts = {fresh, duplicate, cannotStore, none, fresh, duplicate};
  const std::vector<int> selected = {0, 1, 2, 3, 5, 9};
  const DraggedRows dragged = SortDraggedRows(verdicts, selected);
  EXPECT_EQ(dragged.storable, (std::vector<int>{0, 1, 5}));
  EXPECT_EQ(dragged.fresh, (std::vector<int>{0}));
  EXPECT_EQ(dragged.Duplicates(), 2);
  EXPECT_EQ(dragged.cannotStore, 1);
  const std::vector<int> onlyRed = {2};
  EXPECT_TRUE(SortDraggedRows(verdicts, onlyRed).storable.empty());
}

}  // namespace
