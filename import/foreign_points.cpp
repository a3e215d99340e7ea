#include "import/foreign_points.h"

#include <cstdint>

#include "exchange/cp932.h"
#include "exchange/point_waypoint.h"
#include "pointfile/datum.h"

namespace {

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

ForeignRead StoreForeignPoints(const std::vector<Waypoint>& waypoints, bool tokyoDatum, PointFile& points) {
  ForeignRead result;
  PointFile read;
  int outside = 0, beyond = 0;
  for (const Waypoint& point : waypoints) {
    GeoPosition position{point.longitude, point.latitude};
    if (tokyoDatum) position = Wgs84ToTokyo(position);
    const std::optional<std::uint32_t> longitude = UnitsFromDegrees(position.longitude);
    const std::optional<std::uint32_t> latitude = UnitsFromDegrees(position.latitude);
    if (!longitude || !latitude) {
      ++outside;
      continue;
    }
    if (read.GetPointCount() >= kSlotCount) {
      ++beyond;
      continue;
    }
    TextChanges changes;
    InsertWaypoint(read, read.GetPointCount(), FitWaypointTexts(point, changes), *longitude, *latitude, point);
  }
  if (read.GetPointCount() == 0) {
    result.message = "登録できる地点がありません。何も読み込みませんでした。";
    return result;
  }
  if (outside > 0) result.message += std::to_string(outside) + " 地点は位置を登録できないため除きました。\n";
  if (beyond > 0) result.message += std::to_string(beyond) + " 地点は 250 地点を超えるため除きました。\n";
  if (!result.message.empty()) result.message.pop_back();
  points = read;
  result.loaded = true;
  return result;
}
