// The one rule by which two points are the same place: the same name within 300 m, or any
// two points within 30 m. Comparing files, and checking points before they are taken into a
// file, both go by it, so that what one calls a duplicate the other does too.
#pragma once

#include <cstdint>
#include <string>

class PointFile;

inline constexpr double kSameNameRadiusMetres = 300.0;
inline constexpr double kSamePlaceRadiusMetres = 30.0;

// What the rule looks at of a point: its name (Shift_JIS, as the getters give it) and its
// position in the file's units (1/2048 arc-second, east and north).
struct PointPlace {
  std::string name;
  std::uint32_t longitude = 0;
  std::uint32_t latitude = 0;
};

PointPlace PlaceOfPoint(const PointFile& file, int slot);

// The distance along the ground between two positions, in metres (great circle on a sphere
// of the Earth's mean radius: at 300 m the error against the ellipsoid is well under a metre).
double GroundDistanceMetres(std::uint32_t longitudeA, std::uint32_t latitudeA, std::uint32_t longitudeB,
                            std::uint32_t latitudeB);
double GroundDistanceMetres(const PointPlace& a, const PointPlace& b);

// True when `a` and `b` are the same place by the rule. An empty name names nothing, so two
// unnamed points match only by the 30 m of any two points.
bool IsDuplicatePlace(const PointPlace& a, const PointPlace& b);
