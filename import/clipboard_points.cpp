#include "import/clipboard_points.h"

#include <vector>

#include "exchange/cp932.h"
#include "exchange/csv.h"
#include "exchange/pasted_text.h"
#include "exchange/point_waypoint.h"
#include "pointfile/datum.h"

ForeignRead ReadPastedPoints(std::string_view text, bool tokyoDatum, PointFile& points) {
  ParsedWaypoints parsed = ReadPastedText(text, kUnitOffsetMinutes);
  if (!parsed.ok()) {
    ForeignRead refused;
    refused.message = "貼り付けた文字から地点を読み取れません。何も追加しませんでした。\n" + Utf8ToCp932(parsed.error).text;
    return refused;
  }
  PointFile read;
  ForeignRead result = StoreForeignPoints(parsed.points, tokyoDatum, read);
  if (!result.loaded) return result;
  // Texts without a name give the one a new point gets.
  for (int slot = 0; slot < read.GetPointCount(); ++slot) {
    if (read.GetName(slot).empty()) {
      read.SetName(slot, kPastedPointName);
      read.UpdateChecksum(slot);
    }
  }
  points = read;
  return result;
}

Insertion InsertPastedPoints(PointFile& file, int slot, const PointFile& pasted, int maxPoints) {
  return InsertPoints(file, slot, pasted.GetPointCount(), maxPoints, InsertionOrder::kInOrder, [&](int to, int k) {
    file.CopyPointFrom(to, pasted, k);
    file.SetVoiceCode(to, pasted.GetVoiceCode(k));
    file.SetDate(to, pasted.GetDate(k));
    file.SetTime(to, pasted.GetTime(k));
  });
}

std::string CopiedPointsText(const PointFile& file, std::span<const int> slots, bool tokyoDatum) {
  std::vector<Waypoint> points;
  points.reserve(slots.size());
  for (const int slot : slots) {
    if (!file.IsUsed(slot)) continue;
    Waypoint point = WaypointFromSlot(file, slot);
    if (tokyoDatum) {
      const GeoPosition wgs84 = TokyoToWgs84({point.longitude, point.latitude});
      point.longitude = wgs84.longitude;
      point.latitude = wgs84.latitude;
    }
    points.push_back(std::move(point));
  }
  return WriteCsv(points, '\t');
}
