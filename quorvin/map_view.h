// What part of the world the map shows: Web Mercator at whole zoom levels (those of XYZ
// tiles), a centre and the size of the map area; the conversions between degrees, world
// coordinates and the map area's pixels, and the steps of the graticule and the scale bar.
#pragma once

#include <span>
#include <string>

#include "pointfile/datum.h"

// Web Mercator with the whole world as the unit square: x east from 180° W, y south from
// about 85.05° N (the squared world of XYZ tiles).
struct WorldPoint {
  double x;
  double y;
};

WorldPoint Project(GeoPosition p);  // latitudes past the square's edge are held at it
GeoPosition Unproject(WorldPoint w);

struct ScreenPoint {
  double x;
  double y;
};

class MapView {
 public:
  static constexpr int kMinZoom = 4;   // all of Japan in a small window
  static constexpr int kMaxZoom = 19;  // a street corner; the finest common tiles
  static constexpr int kTileSize = 256;  // a tile's pixels, and the map's at 96 DPI

  MapView();

  void Resize(int width, int height);
  // The pixels a tile covers on the screen: more than its own on a screen of more than
  // 96 DPI, so that the map keeps its size there. The zoom and the centre stay.
  void SetTilePixels(int pixels) { m_tilePixels = pixels; }
  int TilePixels() const { return m_tilePixels; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int Zoom() const { return m_zoom; }
  WorldPoint Centre() const { return m_centre; }
  void SetCentre(WorldPoint centre) { m_centre = Clamp(centre); }
  // The world's width in pixels at this zoom.
  double WorldPixels() const;

  ScreenPoint ToScreen(WorldPoint w) const;
  WorldPoint ToWorld(ScreenPoint s) const;
  GeoPosition PositionAt(ScreenPoint s) const { return Unproject(ToWorld(s)); }

  // Moves the map with the pointer: a drag of (dx, dy) pixels.
  void PanBy(double dx, double dy);
  // `steps` zoom levels in (out when negative), keeping what is under `anchor` in place.
  void ZoomAt(int steps, ScreenPoint anchor);
  // The deepest zoom at which every position shows with `margin` pixels to spare, centred
  // on them. Nothing changes for no positions; one position keeps the zoom.
  void FitTo(std::span<const GeoPosition> positions, int margin);

  // Ground metres one pixel spans at the map's centre.
  double MetresPerPixel() const;

 private:
  WorldPoint Clamp(WorldPoint w) const;
  int m_width = 1;
  int m_height = 1;
  int m_zoom = 5;
  int m_tilePixels = kTileSize;
  WorldPoint m_centre;
};

// The graticule's spacing in arc-seconds for a map whose degree of longitude spans
// `pixelsPerDegree` pixels: the finest of 10°, 5°, 2°, 1°, 30′, 15′, 10′, 5′, 2′, 1′, 30″,
// 15″, 10″, 5″, 2″, 1″ that keeps lines at least `minPixels` apart.
int GraticuleStep(double pixelsPerDegree, int minPixels);
// A graticule line's label in degrees and minutes (and seconds when it has any): "35°40′".
// Shift_JIS.
std::string GraticuleLabel(int arcSeconds);

// The scale bar: the longest of 1, 2 or 5 times a power of ten metres that fits in
// `maxPixels`, and its text ("500 m", "2 km").
struct ScaleBar {
  double metres;
  double pixels;
  std::string text;
};
ScaleBar ChooseScaleBar(double metresPerPixel, int maxPixels);
