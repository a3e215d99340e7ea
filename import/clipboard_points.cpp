#include "import/clipboard_points.h"

#include <vector>

#include "exchange/cp932.h"
#include "exchange/csv.h"
#include "exchange/pasted_text.h"
#include "exchange/point_waypoint.h"
#include "pointfile/datum.h"

namespace {

// Everything point `k` of `from` holds into the fresh slot `to`, its voice and time stamp too;
// the checksum is left to the caller.
void CopyWholePoint(PointFile& file, int to, const PointFile& from, int k) {
  file.CopyPointFrom(to, from, k);
  file.SetVoiceCode(to, from.GetVoiceCode(k));
  file.SetDate(to, from.GetDate(k));
  file.SetTime(to, from.GetTime(k));
}

}  // namespace

ForeignRead ReadPastedPoints(std::string_view text, bool tokyoDatum, PointFile& points) {
  const ParsedWaypoints parsed = ReadPastedText(text, kUnitOffsetMinutes);
  ForeignRead result;
  if (!parsed.ok()) {
    result.message = "貼り付けた文字から地点を読み取れません。何も追加しませんでした。\n" + Utf8ToCp932(parsed.error).text;
    return result;
  }
  PointFile stored;
  const ForeignRead read = StoreForeignPoints(parsed.points, tokyoDatum, stored);
  // Unlike the import list, a paste has no row to show a place whose position a slot cannot
  // hold (south or west of the zero lines): it is left out, and the message counts it. From
  // the back, so that the later slots moving up leave the earlier ones where they were.
  int outside = 0;
  for (int slot = stored.GetPointCount() - 1; slot >= 0; --slot) {
    if (!read.rows[static_cast<std::size_t>(slot)].positionHeld) {
      stored.DeleteRecord(slot);
      ++outside;
    }
  }
  // Text without a name gives the one a new point gets.
  for (int slot = 0; slot < stored.GetPointCount(); ++slot) {
    if (!stored.GetName(slot).empty()) continue;
    stored.SetName(slot, kPastedPointName);
    stored.UpdateChecksum(slot);
  }
  if (outside > 0) result.message = std::to_string(outside) + " 地点は位置を登録できないため除きました。";
  if (!read.message.empty()) result.message += (result.message.empty() ? "" : "\n") + read.message;
  if (stored.GetPointCount() == 0) {
    result.message += "\n何も追加しませんでした。";
    return result;
  }
  points = stored;
  result.loaded = true;
  return result;
}

Insertion InsertPastedPoints(PointFile& file, int slot, const PointFile& pasted, int maxPoints) {
  return InsertPoints(file, slot, pasted.GetPointCount(), maxPoints, InsertionOrder::kInOrder,
                      [&](int to, int k) { CopyWholePoint(file, to, pasted, k); });
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
