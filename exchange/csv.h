// CSV as RFC 4180 describes it: a header row naming the columns, then one row per point;
// fields with a comma, a quote or a line break are quoted, quotes doubled; lines end in CRLF.
// Texts here are UTF-8; the caller chooses the file's encoding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

// name,latitude,longitude,location,nickname,phone,icon,voice,date,time
std::string WriteCsv(const std::vector<Waypoint>& points);
// Columns are found by their header names in any order (unknown ones are passed over);
// latitude and longitude are required, "lat", "lon" and "lng" are understood too.
ParsedWaypoints ReadCsv(std::string_view text);
