// GeoJSON (RFC 7946): a FeatureCollection of Point features; the point's fields are the
// feature's properties, named as the CSV columns are. Reading takes a map service's
// saved-places export too (title, address and the place's URL in the properties).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

std::string WriteGeoJson(const std::vector<Waypoint>& points);
// Features with another geometry (lines, areas) are passed over. A feature with no position
// (no geometry, or a saved place at 0,0 whose URL gives none) but a name is read with
// hasPosition false. `offsetMinutes`: the point file's local time east of UTC, for the ISO
// times of saved places.
ParsedWaypoints ReadGeoJson(std::string_view text, int offsetMinutes);
