// The map's projection, view arithmetic, graticule and scale bar.
#include "quorvin/map_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(WebMercator, RoundTripsPositionsAcrossTheRegion) {
  for (double lon = 120; lon <= 156; lon += 0.37) {
    for (double lat = -80; lat <= 80; lat += 1.13) {
      const GeoPosition back = Unproject(Project({lon, lat}));
      EXPECT_NEAR(back.longitude, lon, 1e-9);
      EXPECT_NEAR(back.latitude, lat, 1e-9);
    }
  }
  // The squared world's corners and centre, as XYZ tiles have them.
  EXPECT_NEAR(Project({-180, 85.0511287798066}).x, 0, 1e-12);
  EXPECT_NEAR(Project({-180, 85.0511287798066}).y, 0, 1e-12);
  EXPECT_NEAR(Project({0, 0}).y, 0.5, 1e-12);
  // Beyond the square: held at its edge, not infinite.
  EXPECT_NEAR(Project({0, 90}).y, 0, 1e-12);
  // Tokyo Station lies in tile 14/14552/6451.
  const WorldPoint tokyo = Project({139.7671, 35.6812});
  EXPECT_EQ(static_cast<int>(tokyo.x * 16384), 14552);
  EXPECT_EQ(static_cast<int>(tokyo.y * 16384), 6451);
}

TEST(MapView, ScreenAndWorldAgreeAndZoomKeepsTheAnchor) {
  MapView view;
  view.Resize(800, 600);
  const ScreenPoint anchor{123, 456};
  const WorldPoint under = view.ToWorld(anchor);
  const ScreenPoint back = view.ToScreen(under);
  EXPECT_NEAR(back.x, anchor.x, 1e-6);
  EXPECT_NEAR(back.y, anchor.y, 1e-6);
  const int zoom = view.Zoom();
  view.ZoomAt(2, anchor);
  EXPECT_EQ(view.Zoom(), zoom + 2);
  EXPECT_NEAR(view.ToScreen(under).x, anchor.x, 1e-6);
  EXPECT_NEAR(view.ToScreen(under).y, anchor.y, 1e-6);
  // Limits hold.
  view.ZoomAt(100, anchor);
  EXPECT_EQ(view.Zoom(), MapView::kMaxZoom);
  view.ZoomAt(-100, anchor);
  EXPECT_EQ(view.Zoom(), MapView::kMinZoom);
  // A drag moves what is under the pointer with it.
  const WorldPoint grabbed = view.ToWorld({400, 300});
  view.PanBy(30, -20);
  EXPECT_NEAR(view.ToScreen(grabbed).x, 430, 1e-6);
  EXPECT_NEAR(view.ToScreen(grabbed).y, 280, 1e-6);
}

TEST(MapView, FitsThePlacedPositions) {
  MapView view;
  view.Resize(800, 600);
  const std::vector<GeoPosition> points = {{139.7671, 35.6812}, {139.6917, 35.6895}, {139.8107, 35.7101}};
  view.FitTo(points, 40);
  for (const GeoPosition& p : points) {
    const ScreenPoint s = view.ToScreen(Project(p));
    EXPECT_GE(s.x, 40);
    EXPECT_LE(s.x, 760);
    EXPECT_GE(s.y, 40);
    EXPECT_LE(s.y, 560);
  }
  // One level deeper no longer fits.
  const int zoom = view.Zoom();
  EXPECT_GT(zoom, 10);
  EXPECT_GT((Project(points[2]).x - Project(points[1]).x) * 256 * std::ldexp(1.0, zoom + 1), 720);
  // One point: centred, zoom kept; none: nothing moves.
  view.FitTo(std::vector<GeoPosition>{{135.0, 35.0}}, 40);
  EXPECT_EQ(view.Zoom(), zoom);
  EXPECT_NEAR(view.PositionAt({400, 300}).longitude, 135.0, 1e-9);
  view.FitTo({}, 40);
  EXPECT_NEAR(view.PositionAt({400, 300}).longitude, 135.0, 1e-9);
}

TEST(MapView, GraticuleAndScaleBarPickReadableSteps) {
  EXPECT_EQ(GraticuleStep(20, 100), 18000);    // 5°
  EXPECT_EQ(GraticuleStep(100, 100), 3600);    // 1°
  EXPECT_EQ(GraticuleStep(5000, 100), 120);    // 2′
  EXPECT_EQ(GraticuleStep(1e7, 100), 1);       // 1″
  EXPECT_EQ(GraticuleLabel(35 * 3600 + 40 * 60), "35°40′");
  EXPECT_EQ(GraticuleLabel(139 * 3600 + 30), "139°00′30″");
  const ScaleBar km = ChooseScaleBar(38.2, 150);  // 5.7 km fit
  EXPECT_EQ(km.metres, 5000);
  EXPECT_EQ(km.text, "5 km");
  EXPECT_NEAR(km.pixels, 5000 / 38.2, 1e-9);
  EXPECT_EQ(ChooseScaleBar(1.9, 150).text, "200 m");
  EXPECT_EQ(ChooseScaleBar(0.3, 150).text, "20 m");
}

}  // namespace
