// The helper's own Tokyo datum shift against PROJ with the pipeline `pnt --datum tokyo` runs.
#include "quorvin/datum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "exchange/datum.h"

namespace {

// Ground metres between two positions this close together.
double Metres(GeoPosition a, GeoPosition b) {
  const double radians = std::numbers::pi / 180;
  const double dx = (a.longitude - b.longitude) * radians * 6378137 * std::cos(a.latitude * radians);
  const double dy = (a.latitude - b.latitude) * radians * 6378137;
  return std::hypot(dx, dy);
}

TEST(Datum, AgreesWithProjAcrossJapanToATenthOfAMillimetre) {
  std::string error;
  const std::unique_ptr<DatumShift> proj = DatumShift::Create(error);
  ASSERT_TRUE(proj) << error;
  double worst = 0;
  for (double lon = 122; lon <= 154; lon += 0.7) {
    for (double lat = 20; lat <= 46; lat += 0.45) {
      GeoPosition expected{lon, lat};
      ASSERT_TRUE(proj->TokyoToWgs84(expected.longitude, expected.latitude));
      worst = std::max(worst, Metres(TokyoToWgs84({lon, lat}), expected));
      expected = {lon, lat};
      ASSERT_TRUE(proj->Wgs84ToTokyo(expected.longitude, expected.latitude));
      worst = std::max(worst, Metres(Wgs84ToTokyo({lon, lat}), expected));
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
