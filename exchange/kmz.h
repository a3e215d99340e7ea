// KMZ: a zip archive holding a KML document, as map services export their maps. Reading takes
// doc.kml, or else the first .kml file at the top of the archive; writing stores our KML as
// doc.kml, deflated. Only what KMZ files use is read: stored or deflated entries, no
// encryption, no ZIP64.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

// No KML a point file could come from is near this size; a KMZ that unpacks beyond it is
// refused while it is being unpacked (a "zip bomb" never fills the memory).
inline constexpr std::size_t kMaxKmlBytes = 64u << 20;

// A zip archive holding `kml` as doc.kml.
std::string PackKmz(std::string_view kml);
// The KML document of the archive `zip` in `kml`; on failure an error that says what is wrong.
std::string UnpackKmz(std::string_view zip, std::string& kml);

std::string WriteKmz(const std::vector<Waypoint>& points, int offsetMinutes);
ParsedWaypoints ReadKmz(std::string_view zip, int offsetMinutes);
