// A point as the interchange formats carry it: UTF-8 texts, WGS 84 decimal degrees, and the
// date and time of the point file as plain numbers. Readers fill it, writers take it; the
// conversion to and from a point file slot lives in point_waypoint.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The creation stamp as the point file keeps it, in the point file's local time.
struct LocalStamp {
  int year = 0;  // full year, 2000-2255
  int month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalStamp&) const = default;
};

struct Waypoint {
  std::string name, location, nickname, phone;  // UTF-8
  double latitude = 0, longitude = 0;           // degrees, north and east positive
  // false for a place its file names without a position (an address only); then latitude
  // and longitude mean nothing, and the point cannot be stored.
  bool hasPosition = true;
  std::optional<int> icon;                      // 0-255 when present
  std::optional<int> voice;                     // 0-31 when present
  std::optional<LocalStamp> stamp;
  std::string where;  // where the point stands in its input, for messages ("line 12")
};

// What a reader returns: the points, or the first error, which names what and where.
struct ParsedWaypoints {
  std::vector<Waypoint> points;
  std::string error;  // empty when the input was read
  int ignoredTimes = 0;  // times that were present but could not be read or stored
  bool ok() const { return error.empty(); }
};
