// GeoJSON (RFC 7946): a FeatureCollection of Point features; the point's fields are the
// feature's properties, named as the CSV columns are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

std::string WriteGeoJson(const std::vector<Waypoint>& points);
ParsedWaypoints ReadGeoJson(std::string_view text);
