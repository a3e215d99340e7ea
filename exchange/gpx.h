// GPX 1.1: one wpt per point. The point's phone and voice travel in an extension element of
// our own namespace, which other programs ignore.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

inline constexpr char kGpxExtensionNamespace[] = "urn:ostrel:gpx:point:1";

// `offsetMinutes`: the point file's local time east of UTC; GPX times are UTC.
std::string WriteGpx(const std::vector<Waypoint>& points, int offsetMinutes);
// Reads the wpt elements; a file without any offers its routes' points (rtept) instead. A
// file with tracks alone is refused with a message that says why.
ParsedWaypoints ReadGpx(std::string_view text, int offsetMinutes);
