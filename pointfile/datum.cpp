#include "pointfile/datum.h"

#include <cmath>
#include <numbers>

namespace {

struct Ellipsoid {
  double a;  // semi-major axis, metres
  double f;  // flattening
  double E2() const { return f * (2 - f); }
};

constexpr Ellipsoid kBessel1841{6377397.155, 1 / 299.1528128};
constexpr Ellipsoid kWgs84{6378137.0, 1 / 298.257223563};
// Tokyo -> WGS 84, metres.
constexpr double kShift[3] = {-146.414, 507.337, 680.507};
constexpr double kRadians = std::numbers::pi / 180;

struct Cartesian {
  double x, y, z;
};

Cartesian ToCartesian(GeoPosition p, const Ellipsoid& e) {
  const double phi = p.latitude * kRadians;
  const double lambda = p.longitude * kRadians;
  const double n = e.a / std::sqrt(1 - e.E2() * std::sin(phi) * std::sin(phi));
  return {n * std::cos(phi) * std::cos(lambda), n * std::cos(phi) * std::sin(lambda),
          n * (1 - e.E2()) * std::sin(phi)};
}

// The latitude by fixed-point iteration on the height; it settles to well below a
// micrometre within a few rounds for any point near the surface. The height is dropped.
GeoPosition ToGeodetic(Cartesian c, const Ellipsoid& e) {
  const double p = std::hypot(c.x, c.y);
  double phi = std::atan2(c.z, p * (1 - e.E2()));
  for (int i = 0; i < 10; ++i) {
    const double n = e.a / std::sqrt(1 - e.E2() * std::sin(phi) * std::sin(phi));
    const double h = p / std::cos(phi) - n;
    const double next = std::atan2(c.z, p * (1 - e.E2() * n / (n + h)));
    if (std::abs(next - phi) < 1e-15) {
      phi = next;
      break;
    }
    phi = next;
  }
  return {std::atan2(c.y, c.x) / kRadians, phi / kRadians};
}

GeoPosition Shift(GeoPosition p, const Ellipsoid& from, const Ellipsoid& to, double sign) {
  Cartesian c = ToCartesian(p, from);
  c.x += sign * kShift[0];
  c.y += sign * kShift[1];
  c.z += sign * kShift[2];
  return ToGeodetic(c, to);
}

}  // namespace

GeoPosition TokyoToWgs84(GeoPosition tokyo) { return Shift(tokyo, kBessel1841, kWgs84, 1); }

GeoPosition Wgs84ToTokyo(GeoPosition wgs84) { return Shift(wgs84, kWgs84, kBessel1841, -1); }
