#include "import/foreign_points.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "exchange/cp932.h"
#include "exchange/point_waypoint.h"
#include "pointfile/datum.h"

namespace {

// The point file's dates and times are Japan's local time (as pnt takes them by default).
constexpr int kUnitOffsetMinutes = 9 * 60;

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    char c = text[text.size() - tail.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<Format> ForeignFormat(std::string_view path) {
  if (EndsWithNoCase(path, ".txt")) return Format::kCsv;
  return FormatFromPath(path);
}

ForeignRead ReadForeignPoints(Format format, std::string bytes, bool tokyoDatum, PointFile& points) {
  ForeignRead result;
  // The other formats are UTF-8 or say otherwise in their XML declaration.
  if (format == Format::kCsv) bytes = CsvBytesAsUtf8(std::move(bytes));
  const ParsedWaypoints parsed = ReadWaypoints(format, bytes, kUnitOffsetMinutes);
  if (!parsed.ok()) {
    result.message = "地点を読み込めませんでした。\n" + Utf8ToCp932(parsed.error).text;
    return result;
  }
  return StoreForeignPoints(parsed.points, tokyoDatum, points);
}

ForeignRead StoreForeignPoints(const std::vector<Waypoint>& places, bool tokyoDatum, PointFile& points) {
  ForeignRead result;
  PointFile read;
  std::vector<SourceRowFacts> rows;
  int beyond = 0;
  for (const Waypoint& point : places) {
    if (read.GetPointCount() >= kSlotCount) {
      ++beyond;
      continue;
    }
    // A place the slot cannot hold a position for is still a row, with its name, so that the
    // preview can show the user what will not go in and why.
    std::optional<std::uint32_t> longitude, latitude;
    if (point.hasPosition) {
      GeoPosition position{point.longitude, point.latitude};
      if (tokyoDatum) position = Wgs84ToTokyo(position);
      longitude = UnitsFromDegrees(position.longitude);
      latitude = UnitsFromDegrees(position.latitude);
    }
    const bool held = longitude && latitude;
    TextChanges changes;
    InsertWaypoint(read, read.GetPointCount(), FitWaypointTexts(point, changes), held ? *longitude : 0,
                   held ? *latitude : 0, point);
    rows.push_back({held, changes.cut > 0});
  }
  if (read.GetPointCount() == 0) {
    result.message = "地点がありません。何も読み込みませんでした。";
    return result;
  }
  if (beyond > 0) result.message += std::to_string(beyond) + " 地点は 250 地点を超えるため除きました。\n";
  if (!result.message.empty()) result.message.pop_back();
  points = read;
  result.rows = std::move(rows);
  result.loaded = true;
  return result;
}
