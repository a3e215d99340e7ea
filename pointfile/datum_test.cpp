// The Tokyo datum shift against PROJ, with the transformation spelled out as a pipeline so
// that no grid file or database lookup can choose another one.
#include "pointfile/datum.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <numbers>

namespace {

constexpr char kTokyoToWgs84Pipeline[] =
    "+proj=pipeline "
    "+step +proj=unitconvert +xy_in=deg +xy_out=rad "
    "+step +proj=cart +ellps=bessel "
    "+step +proj=helmert +x=-146.414 +y=507.337 +z=680.507 "
    "+step +inv +proj=cart +ellps=WGS84 "
    "+step +proj=unitconvert +xy_in=rad +xy_out=deg";

// PROJ's answer for one position, on the ellipsoid as ours.
class ProjPipeline {
 public:
  ProjPipeline() : m_context(proj_context_create()), m_pipeline(proj_create(m_context, kTokyoToWgs84Pipeline)) {}
  ~ProjPipeline() {
    if (m_pipeline) proj_destroy(m_pipeline);
    proj_context_destroy(m_context);
  }
  bool ok() const { return m_pipeline != nullptr; }
  GeoPosition Transform(PJ_DIRECTION direction, GeoPosition p) const {
    PJ_COORD out = proj_trans(m_pipeline, direction, proj_coord(p.longitude, p.latitude, 0, 0));
    return {out.lpzt.lam, out.lpzt.phi};
  }

 private:
  PJ_CONTEXT* m_context;
  PJ* m_pipeline;
};

// Ground metres between two positions this close together.
double Metres(GeoPosition a, GeoPosition b) {
  const double radians = std::numbers::pi / 180;
  const double dx = (a.longitude - b.longitude) * radians * 6378137 * std::cos(a.latitude * radians);
  const double dy = (a.latitude - b.latitude) * radians * 6378137;
  return std::hypot(dx, dy);
}

TEST(Datum, AgreesWithProjAcrossJapanToATenthOfAMillimetre) {
  const ProjPipeline proj;
  ASSERT_TRUE(proj.ok());
  double worst = 0;
  for (double lon = 122; lon <= 154; lon += 0.7) {
    for (double lat = 20; lat <= 46; lat += 0.45) {
      worst = std::max(worst, Metres(TokyoToWgs84({lon, lat}), proj.Transform(PJ_FWD, {lon, lat})));
      worst = std::max(worst, Metres(Wgs84ToTokyo({lon, lat}), proj.Transform(PJ_INV, {lon, lat})));
    }
  }
  EXPECT_LT(worst, 0.0001);
}

TEST(Datum, MovesTokyoByTheKnownFourHundredMetres) {
  // The Tokyo datum's famous offset: about 12 seconds of latitude north and 12 of longitude
  // west of WGS 84 around Tokyo; going there and back comes home.
  const GeoPosition tokyo{139.7671, 35.6812};
  const GeoPosition wgs = TokyoToWgs84(tokyo);
  EXPECT_NEAR((wgs.latitude - tokyo.latitude) * 3600, 11.6, 0.5);
  EXPECT_NEAR((wgs.longitude - tokyo.longitude) * 3600, -11.6, 0.5);
  EXPECT_LT(Metres(Wgs84ToTokyo(wgs), tokyo), 0.01);
}

}  // namespace
