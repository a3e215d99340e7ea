#include "pointfile/duplicates.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "pointfile/point_file.h"
#include "pointfile/point_record.h"

namespace {

constexpr double kEarthMeanRadiusMetres = 6371008.8;  // IUGG mean radius

double Radians(std::uint32_t units) {
  return static_cast<double>(units) / kUnitsPerDegree * std::numbers::pi / 180.0;
}

}  // namespace

PointPlace PlaceOfPoint(const PointFile& file, int slot) {
  return {file.GetName(slot), file.GetLongitude(slot), file.GetLatitude(slot)};
}

// Haversine: well conditioned for the short distances the rule is about.
double GroundDistanceMetres(std::uint32_t longitudeA, std::uint32_t latitudeA, std::uint32_t longitudeB,
                            std::uint32_t latitudeB) {
  const double latA = Radians(latitudeA);
  const double latB = Radians(latitudeB);
  const double sinHalfLat = std::sin((latB - latA) / 2);
  const double sinHalfLon = std::sin((Radians(longitudeB) - Radians(longitudeA)) / 2);
  const double h = sinHalfLat * sinHalfLat + std::cos(latA) * std::cos(latB) * sinHalfLon * sinHalfLon;
  return 2 * kEarthMeanRadiusMetres * std::asin(std::sqrt(std::min(1.0, h)));
}

double GroundDistanceMetres(const PointPlace& a, const PointPlace& b) {
  return GroundDistanceMetres(a.longitude, a.latitude, b.longitude, b.latitude);
}

bool IsDuplicatePlace(const PointPlace& a, const PointPlace& b) {
  const double distance = GroundDistanceMetres(a, b);
  if (distance <= kSamePlaceRadiusMetres) return true;
  return !a.name.empty() && a.name == b.name && distance <= kSameNameRadiusMetres;
}
