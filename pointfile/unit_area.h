// Where the unit can take a point: Japan and its seas, by whole degrees, longitude 122-146 east
// and latitude 24-45 north (a point at 146°59'59" is still inside). The point edit dialog checks
// typed coordinates by these degrees, and the import screen judges the rows of a source by them,
// so that what one refuses the other does too.
#pragma once

#include <cstdint>

#include "pointfile/point_record.h"

inline constexpr long kUnitAreaMinLongitude = 122;
inline constexpr long kUnitAreaMaxLongitude = 146;
inline constexpr long kUnitAreaMinLatitude = 24;
inline constexpr long kUnitAreaMaxLatitude = 45;

// Whether whole degrees of longitude and latitude lie in the unit's area.
constexpr bool AreDegreesInUnitArea(long longitude, long latitude) {
  return longitude >= kUnitAreaMinLongitude && longitude <= kUnitAreaMaxLongitude &&
         latitude >= kUnitAreaMinLatitude && latitude <= kUnitAreaMaxLatitude;
}

// The same for a position in the file's units (1/2048 arc-second, east and north).
constexpr bool IsInUnitArea(std::uint32_t longitude, std::uint32_t latitude) {
  return AreDegreesInUnitArea(static_cast<long>(longitude / kUnitsPerDegree), static_cast<long>(latitude / kUnitsPerDegree));
}
