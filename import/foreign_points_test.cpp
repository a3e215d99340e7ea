// The reading of an interchange file into the import list's slots keeps every place as a row,
// with what the preview must know of it: a place without a position a slot can hold, a text
// cut to fit its field.
#include "import/foreign_points.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/point_waypoint.h"

namespace {

Waypoint Place(std::string name, double longitude, double latitude, bool hasPosition = true) {
  Waypoint point;
  point.name = std::move(name);
  point.longitude = longitude;
  point.latitude = latitude;
  point.hasPosition = hasPosition;
  return point;
}

TEST(StoreForeignPoints, KeepsPlacesTheUnitCannotTakeAsRowsWithTheirFacts) {
  const std::vector<Waypoint> places = {
      Place("Tokyo", 139.767125, 35.681236),
      Place("no position", 0, 0, false),
      Place("Paris", 2.3522, 48.8566),
      Place("Rio", -43.2, -22.9),
      Place(std::string(60, 'n'), 139.5, 35.5),
  };
  PointFile points;
  const ForeignRead read = StoreForeignPoints(places, false, points);
  ASSERT_TRUE(read.loaded);
  EXPECT_EQ(read.message, "");
  ASSERT_EQ(points.GetPointCount(), 5);
  ASSERT_EQ(read.rows.size(), 5u);
  const bool held[] = {true, false, true, false, true};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(read.rows[i].positionHeld, held[i]) << i;
    EXPECT_EQ(read.rows[i].shortened, i == 4) << i;
  }
  EXPECT_EQ(points.GetName(1), "no position");
  EXPECT_EQ(points.GetLongitude(2), *UnitsFromDegrees(2.3522));
  const std::vector<RowVerdict> verdicts = JudgeSourceRows(points, 5, read.rows, PointFile());
  EXPECT_EQ(CountVerdicts(verdicts), (PreviewCounts{5, 0, 3, 1}));

  // Beyond the slots: left out and told; a file of nothing loads nothing.
  PointFile many;
  const ForeignRead full = StoreForeignPoints(std::vector<Waypoint>(kSlotCount + 2, places[1]), false, many);
  EXPECT_EQ(many.GetPointCount(), kSlotCount);
  EXPECT_EQ(full.rows.size(), static_cast<std::size_t>(kSlotCount));
  EXPECT_EQ(full.message, "2 地点は 250 地点を超えるため除きました。");
  PointFile none;
  EXPECT_FALSE(StoreForeignPoints({}, false, none).loaded);
}

}  // namespace
