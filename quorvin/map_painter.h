// Draws the map area: sea and land of the base map, the tiles of a tile folder, the
// graticule with its labels, the placed points with their names, the marker and the scale
// bar, into a device context (the window's off-screen bitmap).
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "framework/display_scale.h"
#include "quorvin/base_map.h"
#include "quorvin/map_view.h"

class TileFolder;

// The base map projected once, so that a repaint only scales and shifts.
class ProjectedLand {
 public:
  explicit ProjectedLand(const BaseMap& map);

  struct Ring {
    std::size_t first;
    std::size_t count;
    WorldPoint low, high;  // bounding box
  };
  const std::vector<Ring>& Rings() const { return m_rings; }
  const std::vector<WorldPoint>& Points() const { return m_points; }
  // The edge from point i to the next point of its ring is a coast (not the region's cut).
  bool IsCoastAfter(std::size_t i) const { return m_coastAfter[i]; }

 private:
  std::vector<Ring> m_rings;
  std::vector<WorldPoint> m_points;
  std::vector<bool> m_coastAfter;
};

struct DrawnText {
  WorldPoint at;
  std::wstring name;
};

struct MapScene {
  const ProjectedLand* land = nullptr;
  TileFolder* tiles = nullptr;  // null: the built-in map alone
  std::span<const DrawnText> texts;
  std::optional<WorldPoint> marker;
};

class MapPainter {
 public:
  MapPainter();
  ~MapPainter();
  MapPainter(const MapPainter&) = delete;
  MapPainter& operator=(const MapPainter&) = delete;

  void Paint(HDC dc, const MapView& view, const MapScene& scene);
  // Every size the map is drawn with (the font, the lines, the marker, the points, the
  // labels' places and the scale bar) is given in pixels at 96 DPI and drawn at `scale`.
  void SetScale(DisplayScale scale);

 private:
  int Px(int pixels96) const { return m_scale.Pixels(pixels96); }
  void DeleteScaledTools();

  void PaintLand(HDC dc, const MapView& view, const ProjectedLand& land);
  void PaintTiles(HDC dc, const MapView& view, TileFolder& tiles) const;
  void PaintGraticule(HDC dc, const MapView& view) const;
  void PaintTexts(HDC dc, const MapView& view, std::span<const DrawnText> texts) const;
  void PaintPointDot(HDC dc, POINT p) const;
  void PaintMarker(HDC dc, const MapView& view, WorldPoint marker) const;
  void PaintScaleBar(HDC dc, const MapView& view) const;

  DisplayScale m_scale;
  HFONT m_font = nullptr;
  HPEN m_coastPen = nullptr, m_gridPen = nullptr, m_textPen = nullptr, m_markerPen = nullptr, m_scalePen = nullptr;
  HBRUSH m_seaBrush, m_landBrush, m_textBrush, m_textOutlineBrush;
  // Work buffers kept between repaints.
  std::vector<POINT> m_polygonPoints, m_coastPoints;
  std::vector<INT> m_polygonCounts;
  std::vector<DWORD> m_coastCounts;
  std::vector<ScreenPoint> m_clipIn, m_clipOut;
};
