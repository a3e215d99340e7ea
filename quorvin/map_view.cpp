#include "quorvin/map_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
// Where Web Mercator's square ends: atan(sinh(pi)).
constexpr double kMaxLatitude = 85.0511287798066;
constexpr double kEarthCircumference = 2 * kPi * 6378137.0;

}  // namespace

WorldPoint Project(GeoPosition p) {
  const double latitude = std::clamp(p.latitude, -kMaxLatitude, kMaxLatitude) * kPi / 180;
  return {(p.longitude + 180) / 360, (1 - std::asinh(std::tan(latitude)) / kPi) / 2};
}

GeoPosition Unproject(WorldPoint w) {
  return {w.x * 360 - 180, std::atan(std::sinh(kPi * (1 - 2 * w.y))) * 180 / kPi};
}

MapView::MapView() : m_centre(Project({137.0, 37.5})) {}

void MapView::Resize(int width, int height) {
  m_width = std::max(width, 1);
  m_height = std::max(height, 1);
}

double MapView::WorldPixels() const { return m_tilePixels * std::ldexp(1.0, m_zoom); }

ScreenPoint MapView::ToScreen(WorldPoint w) const {
  const double scale = WorldPixels();
  return {(w.x - m_centre.x) * scale + m_width / 2.0, (w.y - m_centre.y) * scale + m_height / 2.0};
}

WorldPoint MapView::ToWorld(ScreenPoint s) const {
  const double scale = WorldPixels();
  return {m_centre.x + (s.x - m_width / 2.0) / scale, m_centre.y + (s.y - m_height / 2.0) / scale};
}

WorldPoint MapView::Clamp(WorldPoint w) const { return {std::clamp(w.x, 0.0, 1.0), std::clamp(w.y, 0.0, 1.0)}; }

void MapView::PanBy(double dx, double dy) {
  const double scale = WorldPixels();
  SetCentre({m_centre.x - dx / scale, m_centre.y - dy / scale});
}

void MapView::ZoomAt(int steps, ScreenPoint anchor) {
  const WorldPoint under = ToWorld(anchor);
  const int zoom = std::clamp(m_zoom + steps, kMinZoom, kMaxZoom);
  if (zoom == m_zoom) return;
  m_zoom = zoom;
  const double scale = WorldPixels();
  SetCentre({under.x - (anchor.x - m_width / 2.0) / scale, under.y - (anchor.y - m_height / 2.0) / scale});
}

void MapView::FitTo(std::span<const GeoPosition> positions, int margin) {
  if (positions.empty()) return;
  WorldPoint low = Project(positions[0]);
  WorldPoint high = low;
  for (const GeoPosition& p : positions) {
    const WorldPoint w = Project(p);
    low = {std::min(low.x, w.x), std::min(low.y, w.y)};
    high = {std::max(high.x, w.x), std::max(high.y, w.y)};
  }
  SetCentre({(low.x + high.x) / 2, (low.y + high.y) / 2});
  if (positions.size() == 1) return;
  const double roomX = std::max(m_width - 2 * margin, 1);
  const double roomY = std::max(m_height - 2 * margin, 1);
  int zoom = kMaxZoom;
  while (zoom > kMinZoom) {
    const double scale = m_tilePixels * std::ldexp(1.0, zoom);
    if ((high.x - low.x) * scale <= roomX && (high.y - low.y) * scale <= roomY) break;
    --zoom;
  }
  m_zoom = zoom;
}

double MapView::MetresPerPixel() const {
  const double latitude = Unproject(m_centre).latitude * kPi / 180;
  return kEarthCircumference * std::cos(latitude) / WorldPixels();
}

int GraticuleStep(double pixelsPerDegree, int minPixels) {
  static constexpr int kSteps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 18000, 36000};
  for (const int step : kSteps) {
    if (pixelsPerDegree * step / 3600 >= minPixels) return step;
  }
  return kSteps[std::size(kSteps) - 1];
}

std::string GraticuleLabel(int arcSeconds) {
  const char* sign = arcSeconds < 0 ? "-" : "";
  const int value = std::abs(arcSeconds);
  char text[48];
  if (value % 60 != 0)
    std::snprintf(text, sizeof text, "%s%d°%02d′%02d″", sign, value / 3600, value / 60 % 60, value % 60);
  else
    std::snprintf(text, sizeof text, "%s%d°%02d′", sign, value / 3600, value / 60 % 60);
  return text;
}

ScaleBar ChooseScaleBar(double metresPerPixel, int maxPixels) {
  const double longest = metresPerPixel * maxPixels;
  double power = std::pow(10.0, std::floor(std::log10(longest)));
  double metres = power;
  for (const double factor : {5.0, 2.0, 1.0}) {
    if (factor * power <= longest) {
      metres = factor * power;
      break;
    }
  }
  char text[32];
  if (metres >= 1000)
    std::snprintf(text, sizeof text, "%g km", metres / 1000);
  else
    std::snprintf(text, sizeof text, "%g m", metres);
  return {metres, metres / metresPerPixel, text};
}
