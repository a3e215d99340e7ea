// KML 2.2: one Placemark with a Point per point. The location goes in the description, the
// phone in phoneNumber, the nickname, icon and voice in ExtendedData.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

std::string WriteKml(const std::vector<Waypoint>& points, int offsetMinutes);
// Reads every Placemark with a Point, at any depth of folders. Placemarks without a Point
// (lines, polygons) are not points and are passed over.
ParsedWaypoints ReadKml(std::string_view text, int offsetMinutes);
