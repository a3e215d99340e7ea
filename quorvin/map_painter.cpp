#include "quorvin/map_painter.h"

#include <algorithm>
#include <cmath>

#include "framework/text_encoding.h"
#include "quorvin/tile_folder.h"

namespace {

constexpr COLORREF kSea = RGB(170, 206, 236);
constexpr COLORREF kLand = RGB(244, 240, 226);
constexpr COLORREF kCoast = RGB(96, 128, 160);
constexpr COLORREF kGrid = RGB(150, 160, 175);
constexpr COLORREF kGridText = RGB(70, 80, 100);
constexpr COLORREF kPoint = RGB(200, 30, 40);
constexpr COLORREF kPointOutline = RGB(120, 0, 0);
constexpr COLORREF kLabelBack = RGB(255, 255, 236);
constexpr COLORREF kMarker = RGB(230, 0, 120);

// GDI is safe with coordinates far smaller than the world is wide at the deepest zoom:
// geometry is cut to the map area with this much to spare before it is drawn.
constexpr double kGuard = 256;

POINT Round(ScreenPoint s) { return {static_cast<LONG>(std::lround(s.x)), static_cast<LONG>(std::lround(s.y))}; }

bool SamePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// One Sutherland-Hodgman pass: keeps the side of the line where inside() holds.
template <class Inside, class Cross>
void ClipPass(const std::vector<ScreenPoint>& in, std::vector<ScreenPoint>& out, Inside inside, Cross cross) {
  out.clear();
  for (std::size_t i = 0; i < in.size(); ++i) {
    const ScreenPoint& current = in[i];
    const ScreenPoint& previous = in[(i + in.size() - 1) % in.size()];
    if (inside(current)) {
      if (!inside(previous)) out.push_back(cross(previous, current));
      out.push_back(current);
    } else if (inside(previous)) {
      out.push_back(cross(previous, current));
    }
  }
}

// Cuts a polygon to the rectangle [left, right] x [top, bottom]; the result is in `a`.
void ClipPolygon(std::vector<ScreenPoint>& a, std::vector<ScreenPoint>& b, double left, double top, double right,
                 double bottom) {
  auto atX = [](double x) {
    return [x](ScreenPoint p, ScreenPoint q) { return ScreenPoint{x, p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x)}; };
  };
  auto atY = [](double y) {
    return [y](ScreenPoint p, ScreenPoint q) { return ScreenPoint{p.x + (q.x - p.x) * (y - p.y) / (q.y - p.y), y}; };
  };
  ClipPass(a, b, [left](ScreenPoint p) { return p.x >= left; }, atX(left));
  ClipPass(b, a, [right](ScreenPoint p) { return p.x <= right; }, atX(right));
  ClipPass(a, b, [top](ScreenPoint p) { return p.y >= top; }, atY(top));
  ClipPass(b, a, [bottom](ScreenPoint p) { return p.y <= bottom; }, atY(bottom));
}

// Liang-Barsky: cuts the segment p-q to the rectangle; false when nothing of it is inside.
bool ClipSegment(ScreenPoint& p, ScreenPoint& q, double left, double top, double right, double bottom) {
  double t0 = 0, t1 = 1;
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double edges[4][2] = {{-dx, p.x - left}, {dx, right - p.x}, {-dy, p.y - top}, {dy, bottom - p.y}};
  for (const auto& [denominator, numerator] : edges) {
    if (denominator == 0) {
      if (numerator < 0) return false;
      continue;
    }
    const double t = numerator / denominator;
    if (denominator < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  const ScreenPoint start{p.x + t0 * dx, p.y + t0 * dy};
  q = {p.x + t1 * dx, p.y + t1 * dy};
  p = start;
  return true;
}

void DrawLabel(HDC dc, int x, int y, const std::string& sjis) {
  const std::wstring text = WidenText(sjis);
  ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

ProjectedLand::ProjectedLand(const BaseMap& map) {
  m_points.reserve(map.PointCount());
  m_coastAfter.reserve(map.PointCount());
  for (std::size_t r = 0; r < map.RingCount(); ++r) {
    const std::span<const LandPoint> ring = map.Ring(r);
    Ring projected{m_points.size(), ring.size(), {1, 1}, {0, 0}};
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const WorldPoint w = Project({ring[i].longitude / 1e6, ring[i].latitude / 1e6});
      m_points.push_back(w);
      m_coastAfter.push_back(!map.IsBorderEdge(ring[i], ring[(i + 1) % ring.size()]));
      projected.low = {std::min(projected.low.x, w.x), std::min(projected.low.y, w.y)};
      projected.high = {std::max(projected.high.x, w.x), std::max(projected.high.y, w.y)};
    }
    m_rings.push_back(projected);
  }
}

MapPainter::MapPainter()
    : m_seaBrush(::CreateSolidBrush(kSea)),
      m_landBrush(::CreateSolidBrush(kLand)),
      m_textBrush(::CreateSolidBrush(kPoint)),
      m_textOutlineBrush(::CreateSolidBrush(kPointOutline)) {
  SetScale(DisplayScale());
}

MapPainter::~MapPainter() {
  DeleteScaledTools();
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_seaBrush), static_cast<HGDIOBJ>(m_landBrush),
                         static_cast<HGDIOBJ>(m_textBrush), static_cast<HGDIOBJ>(m_textOutlineBrush)}) {
    ::DeleteObject(object);
  }
}

void MapPainter::SetScale(DisplayScale scale) {
  DeleteScaledTools();
  m_scale = scale;
  m_font = ::CreateFontW(-Px(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS UI Gothic");
  m_coastPen = ::CreatePen(PS_SOLID, 1, kCoast);
  // Only a one-pixel pen draws dots; a wider one must be a geometric pen to keep them.
  if (Px(1) == 1) {
    m_gridPen = ::CreatePen(PS_DOT, 1, kGrid);
  } else {
    const LOGBRUSH grid{BS_SOLID, kGrid, 0};
    m_gridPen = ::ExtCreatePen(PS_GEOMETRIC | PS_DOT | PS_ENDCAP_FLAT, Px(1), &grid, 0, nullptr);
  }
  m_textPen = ::CreatePen(PS_SOLID, 1, kPointOutline);
  m_markerPen = ::CreatePen(PS_SOLID, Px(2), kMarker);
  m_scalePen = ::CreatePen(PS_SOLID, Px(2), RGB(0, 0, 0));
}

void MapPainter::DeleteScaledTools() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_font), static_cast<HGDIOBJ>(m_coastPen),
                         static_cast<HGDIOBJ>(m_gridPen), static_cast<HGDIOBJ>(m_textPen),
                         static_cast<HGDIOBJ>(m_markerPen), static_cast<HGDIOBJ>(m_scalePen)}) {
    if (object) ::DeleteObject(object);
  }
}

void MapPainter::Paint(HDC dc, const MapView& view, const MapScene& scene) {
  const RECT all{0, 0, view.Width(), view.Height()};
  ::FillRect(dc, &all, m_seaBrush);
  const HGDIOBJ oldFont = ::SelectObject(dc, m_font);
  const HGDIOBJ oldPen = ::SelectObject(dc, m_coastPen);
  const HGDIOBJ oldBrush = ::SelectObject(dc, m_landBrush);
  if (scene.land) PaintLand(dc, view, *scene.land);
  if (scene.tiles) PaintTiles(dc, view, *scene.tiles);
  PaintGraticule(dc, view);
  PaintTexts(dc, view, scene.texts);
  if (scene.marker) PaintMarker(dc, view, *scene.marker);
  PaintScaleBar(dc, view);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldFont);
}

void MapPainter::PaintLand(HDC dc, const MapView& view, const ProjectedLand& land) {
  const double left = -kGuard, top = -kGuard, right = view.Width() + kGuard, bottom = view.Height() + kGuard;
  m_polygonPoints.clear();
  m_polygonCounts.clear();
  m_coastPoints.clear();
  m_coastCounts.clear();
  const std::vector<WorldPoint>& points = land.Points();
  for (const ProjectedLand::Ring& ring : land.Rings()) {
    const ScreenPoint low = view.ToScreen(ring.low), high = view.ToScreen(ring.high);
    if (high.x < 0 || low.x > view.Width() || high.y < 0 || low.y > view.Height()) continue;

    // The fill: the ring in whole pixels, points that fall on the previous one dropped.
    m_clipIn.clear();
    for (std::size_t i = 0; i < ring.count; ++i) m_clipIn.push_back(view.ToScreen(points[ring.first + i]));
    if (low.x < left || high.x > right || low.y < top || high.y > bottom)
      ClipPolygon(m_clipIn, m_clipOut, left, top, right, bottom);
    const std::size_t start = m_polygonPoints.size();
    for (const ScreenPoint& s : m_clipIn) {
      const POINT p = Round(s);
      if (m_polygonPoints.size() == start || !SamePoint(m_polygonPoints.back(), p)) m_polygonPoints.push_back(p);
    }
    if (m_polygonPoints.size() - start >= 3)
      m_polygonCounts.push_back(static_cast<INT>(m_polygonPoints.size() - start));
    else
      m_polygonPoints.resize(start);

    // The coast: the ring's edges but those along the region's cut, as runs of lines.
    std::size_t runStart = m_coastPoints.size();
    auto endRun = [&] {
      if (m_coastPoints.size() - runStart >= 2)
        m_coastCounts.push_back(static_cast<DWORD>(m_coastPoints.size() - runStart));
      else
        m_coastPoints.resize(runStart);
      runStart = m_coastPoints.size();
    };
    for (std::size_t i = 0; i < ring.count; ++i) {
      ScreenPoint a = view.ToScreen(points[ring.first + i]);
      ScreenPoint b = view.ToScreen(points[ring.first + (i + 1) % ring.count]);
      if (!land.IsCoastAfter(ring.first + i) || !ClipSegment(a, b, left, top, right, bottom)) {
        endRun();
        continue;
      }
      const POINT pa = Round(a), pb = Round(b);
      if (m_coastPoints.size() == runStart || !SamePoint(m_coastPoints.back(), pa)) {
        endRun();
        m_coastPoints.push_back(pa);
      }
      if (!SamePoint(m_coastPoints.back(), pb)) m_coastPoints.push_back(pb);
    }
    endRun();
  }
  // Lakes are rings inside land rings: the alternate fill leaves them water.
  ::SetPolyFillMode(dc, ALTERNATE);
  ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  if (!m_polygonCounts.empty())
    ::PolyPolygon(dc, m_polygonPoints.data(), m_polygonCounts.data(), static_cast<int>(m_polygonCounts.size()));
  ::SelectObject(dc, m_coastPen);
  if (m_coastCounts.empty()) return;
  // A wider coast is the one-pixel line drawn again, shifted, over a square of pixels: a
  // wider pen costs Wine many times as much (a polygon for every edge).
  const int width = Px(1);
  for (int dy = 0; dy < width; ++dy) {
    for (int dx = 0; dx < width; ++dx) {
      POINT origin;
      ::SetViewportOrgEx(dc, dx, dy, &origin);
      ::PolyPolyline(dc, m_coastPoints.data(), m_coastCounts.data(), static_cast<DWORD>(m_coastCounts.size()));
      ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    }
  }
}

void MapPainter::PaintTiles(HDC dc, const MapView& view, TileFolder& tiles) const {
  const int tilesAcross = 1 << view.Zoom();
  const WorldPoint topLeft = view.ToWorld({0, 0});
  const WorldPoint bottomRight = view.ToWorld({static_cast<double>(view.Width()), static_cast<double>(view.Height())});
  const int firstX = static_cast<int>(std::floor(topLeft.x * tilesAcross));
  const int lastX = static_cast<int>(std::floor(bottomRight.x * tilesAcross));
  const int firstY = std::max(0, static_cast<int>(std::floor(topLeft.y * tilesAcross)));
  const int lastY = std::min(tilesAcross - 1, static_cast<int>(std::floor(bottomRight.y * tilesAcross)));
  const HDC tileDc = ::CreateCompatibleDC(dc);
  const HGDIOBJ old = ::GetCurrentObject(tileDc, OBJ_BITMAP);
  for (int y = firstY; y <= lastY; ++y) {
    for (int x = firstX; x <= lastX; ++x) {
      const int wrappedX = ((x % tilesAcross) + tilesAcross) % tilesAcross;
      const HBITMAP bitmap = tiles.Tile(view.Zoom(), wrappedX, y);
      if (!bitmap) continue;
      const POINT at = Round(view.ToScreen({static_cast<double>(x) / tilesAcross, static_cast<double>(y) / tilesAcross}));
      BITMAP info{};
      ::GetObjectW(bitmap, sizeof info, &info);
      ::SelectObject(tileDc, bitmap);
      const int size = view.TilePixels();
      if (info.bmWidth == size && info.bmHeight == size)
        ::BitBlt(dc, at.x, at.y, size, size, tileDc, 0, 0, SRCCOPY);
      else
        ::StretchBlt(dc, at.x, at.y, size, size, tileDc, 0, 0, info.bmWidth,
                     info.bmHeight, SRCCOPY);
    }
  }
  ::SelectObject(tileDc, old);
  ::DeleteDC(tileDc);
}

void MapPainter::PaintGraticule(HDC dc, const MapView& view) const {
  const double pixelsPerDegree = view.WorldPixels() / 360;
  const int step = GraticuleStep(pixelsPerDegree, Px(110));
  const GeoPosition topLeft = view.PositionAt({0, 0});
  const GeoPosition bottomRight =
      view.PositionAt({static_cast<double>(view.Width()), static_cast<double>(view.Height())});
  ::SelectObject(dc, m_gridPen);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kGridText);
  const long long firstLon = static_cast<long long>(std::ceil(topLeft.longitude * 3600 / step));
  const long long lastLon = static_cast<long long>(std::floor(bottomRight.longitude * 3600 / step));
  for (long long i = firstLon; i <= lastLon; ++i) {
    const int arcSeconds = static_cast<int>(i * step);
    const int x = Round(view.ToScreen(Project({arcSeconds / 3600.0, 0}))).x;
    ::MoveToEx(dc, x, 0, nullptr);
    ::LineTo(dc, x, view.Height());
    DrawLabel(dc, x + Px(3), Px(2), GraticuleLabel(arcSeconds));
  }
  const long long firstLat = static_cast<long long>(std::ceil(bottomRight.latitude * 3600 / step));
  const long long lastLat = static_cast<long long>(std::floor(topLeft.latitude * 3600 / step));
  for (long long i = firstLat; i <= lastLat; ++i) {
    const int arcSeconds = static_cast<int>(i * step);
    const int y = Round(view.ToScreen(Project({0, arcSeconds / 3600.0}))).y;
    ::MoveToEx(dc, 0, y, nullptr);
    ::LineTo(dc, view.Width(), y);
    DrawLabel(dc, Px(3), y - Px(15), GraticuleLabel(arcSeconds));
  }
}

void MapPainter::PaintTexts(HDC dc, const MapView& view, std::span<const DrawnText> texts) const {
  ::SelectObject(dc, m_textPen);
  ::SelectObject(dc, m_textBrush);
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, kLabelBack);
  ::SetTextColor(dc, RGB(0, 0, 0));
  for (const DrawnText& text : texts) {
    const POINT p = Round(view.ToScreen(text.at));
    if (p.x < -Px(200) || p.y < -Px(20) || p.x > view.Width() + Px(20) || p.y > view.Height() + Px(20)) continue;
    PaintPointDot(dc, p);
    ::TextOutW(dc, p.x + Px(7), p.y - Px(7), text.name.c_str(), static_cast<int>(text.name.size()));
  }
}

void MapPainter::PaintPointDot(HDC dc, POINT p) const {
  const RECT dot{p.x - Px(4), p.y - Px(4), p.x + Px(5), p.y + Px(5)};
  const int outline = Px(1);
  if (outline == 1) {
    ::Ellipse(dc, dot.left, dot.top, dot.right, dot.bottom);
    return;
  }
  // A wider outline as a ring of its own colour: a pen wider than a pixel costs Wine a
  // polygon for every dot, which made the full repaint at 200 % take several times longer.
  // Without a pen an ellipse leaves out its right and bottom edge; the outline keeps them.
  const HGDIOBJ pen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  const HGDIOBJ brush = ::SelectObject(dc, m_textOutlineBrush);
  ::Ellipse(dc, dot.left, dot.top, dot.right + 1, dot.bottom + 1);
  ::SelectObject(dc, m_textBrush);
  ::Ellipse(dc, dot.left + outline, dot.top + outline, dot.right + 1 - outline, dot.bottom + 1 - outline);
  ::SelectObject(dc, brush);
  ::SelectObject(dc, pen);
}

void MapPainter::PaintMarker(HDC dc, const MapView& view, WorldPoint marker) const {
  const POINT p = Round(view.ToScreen(marker));
  ::SelectObject(dc, m_markerPen);
  ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Ellipse(dc, p.x - Px(9), p.y - Px(9), p.x + Px(10), p.y + Px(10));
  for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
    ::MoveToEx(dc, p.x + dx * Px(4), p.y + dy * Px(4), nullptr);
    ::LineTo(dc, p.x + dx * Px(15), p.y + dy * Px(15));
  }
}

void MapPainter::PaintScaleBar(HDC dc, const MapView& view) const {
  const ScaleBar bar = ChooseScaleBar(view.MetresPerPixel(), Px(150));
  // Bottom right: the latitude labels run down the left edge.
  const int length = static_cast<int>(std::lround(bar.pixels));
  const int x = view.Width() - Px(16) - length, y = view.Height() - Px(14);
  ::SelectObject(dc, m_scalePen);
  ::MoveToEx(dc, x, y - Px(6), nullptr);
  ::LineTo(dc, x, y);
  ::LineTo(dc, x + length, y);
  ::LineTo(dc, x + length, y - Px(6));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  DrawLabel(dc, x + Px(4), y - Px(18), bar.text);
}
