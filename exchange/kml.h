// KML 2.2: one Placemark with a Point per point. The location goes in the description, the
// phone in phoneNumber, the nickname, icon and voice in ExtendedData.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

std::string WriteKml(const std::vector<Waypoint>& points, int offsetMinutes);
// Reads every Placemark with a Point, at any depth of folders, and every Placemark with an
// address but no geometry (with hasPosition false), as a map service's list of places holds
// them. Lines and areas are not points and are passed over. The location is the address the
// Placemark gives (an address element, or an ExtendedData field named address or 住所),
// else its description (HTML made plain text); a phone field stands in for phoneNumber.
ParsedWaypoints ReadKml(std::string_view text, int offsetMinutes);
