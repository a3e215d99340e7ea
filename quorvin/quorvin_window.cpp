#include "quorvin/quorvin_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/dpi.h"
#include "framework/text_encoding.h"
#include "pointfile/point_record.h"
#include "pointfile/text_forms.h"
#include "quorvin/quorvin_resource.h"

namespace {

constexpr FrameWindowClass kWindowClass{L"QuorvinMapWindow"};
// In pixels at 96 DPI. A press that moves less than this is a click, not a drag.
constexpr int kDragThreshold = 4;
constexpr int kArrowPanPixels = 96;
constexpr int kFitMargin = 48;

// Degrees as the program's DMS text; nothing for a negative value, which no point file holds.
std::string DmsText(double degrees) {
  if (degrees < 0) return "";
  return FormatDms(static_cast<std::uint32_t>(std::llround(degrees * kUnitsPerDegree)));
}

}  // namespace

const MessageEntry QuorvinWindow::kMessageEntries[] = {
    OnMessage<&QuorvinWindow::OnCreate>(WM_CREATE),
    OnMessage<&QuorvinWindow::OnSize>(WM_SIZE),
    OnMessage<&QuorvinWindow::OnPaint>(WM_PAINT),
    OnMessage<&QuorvinWindow::OnEraseBackground>(WM_ERASEBKGND),
    OnMessage<&QuorvinWindow::OnLeftButtonDown>(WM_LBUTTONDOWN),
    OnMessage<&QuorvinWindow::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&QuorvinWindow::OnLeftButtonUp>(WM_LBUTTONUP),
    OnMessage<&QuorvinWindow::OnCaptureChanged>(WM_CAPTURECHANGED),
    OnMessage<&QuorvinWindow::OnMouseWheel>(WM_MOUSEWHEEL),
    OnMessage<&QuorvinWindow::OnKeyDown>(WM_KEYDOWN),
    OnMessage<&QuorvinWindow::OnChar>(WM_CHAR),
    OnMessage<&QuorvinWindow::OnDestroy>(WM_DESTROY),
    OnCommand<&QuorvinWindow::OnClose>(IDM_CLOSE),
    OnCommand<&QuorvinWindow::OnZoomIn>(IDM_ZOOM_IN),
    OnCommand<&QuorvinWindow::OnZoomOut>(IDM_ZOOM_OUT),
    OnCommand<&QuorvinWindow::OnFitTexts>(IDM_FIT_TEXTS),
    OnCommand<&QuorvinWindow::OnDatumWgs84>(IDM_DATUM_WGS84),
    OnCommand<&QuorvinWindow::OnDatumTokyo>(IDM_DATUM_TOKYO),
};
OSTREL_DEFINE_MESSAGE_TABLE(QuorvinWindow, FrameWindow);

QuorvinWindow::QuorvinWindow(const BaseMap* baseMap, DatumSetting& datumSetting)
    : m_datumSetting(datumSetting), m_datum(datumSetting.Load()) {
  if (baseMap) m_land.emplace(*baseMap);
  UseSource("");
}

QuorvinWindow::~QuorvinWindow() {
  // Destroy the window while the members its handlers use still exist.
  if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
  if (m_backDc) {
    ::SelectObject(m_backDc, m_backOld);
    ::DeleteObject(m_backBitmap);
    ::DeleteDC(m_backDc);
  }
}

bool QuorvinWindow::Create() {
  // The window's monitor is not known before it exists: it starts on the system's DPI, no
  // larger than the primary monitor's work area.
  const DisplayScale scale = SystemScale();
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const PixelSize size =
      ClampToWorkArea({scale.Pixels(900), scale.Pixels(700)}, {area.right - area.left, area.bottom - area.top});
  return FrameWindow::Create(kWindowClass, kHelperWindowTitle, IDR_QUORVIN_MENU, size.width, size.height);
}

LRESULT QuorvinWindow::OnCreate(WPARAM, LPARAM) {
  m_status.Create(m_hwnd, IDC_MAP_STATUS);
  ApplyScale();
  SetDatum(m_datum);
  return 0;
}

void QuorvinWindow::ApplyScale() {
  m_painter.SetScale(Scale());
  m_view.SetTilePixels(ScaledPixels(MapView::kTileSize));
  m_status.SetPanes({ScaledPixels(90), ScaledPixels(90), ScaledPixels(70), ScaledPixels(80), ScaledPixels(250)});
}

void QuorvinWindow::OnScaleChanged(DisplayScale) {
  // The window has its new size already.
  ApplyScale();
  const RECT client = ClientRect();
  OnSize(0, MAKELPARAM(client.right, client.bottom));
  Refresh(false);
}

bool QuorvinWindow::PreDispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != m_link.CommandMessage()) return false;
  OnCommandMessage(wParam, lParam);
  result = 0;
  return true;
}

void QuorvinWindow::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
  // lParam is one character: the low 32 bits, sign and all, as the editor posted them.
  switch (m_session.Receive(m_link.SubCommand(wParam), static_cast<std::int32_t>(lParam))) {
    case SessionEvent::kNone:
    case SessionEvent::kMapInitialised:
      break;
    case SessionEvent::kLayerSet:
    case SessionEvent::kIgnored:
      Refresh(false);
      break;
    case SessionEvent::kSourceSet:
      UseSource(m_session.SourceName());
      Refresh(false);
      break;
    case SessionEvent::kTextsChanged:
      m_fitPending = true;
      Refresh(true);
      break;
    // Answered at once, so replies leave in the order the requests came.
    case SessionEvent::kLatitudeRequested:
      m_link.PostReply(m_session.Reply(MapMessage::kGetMarkLat));
      break;
    case SessionEvent::kLongitudeRequested:
      m_link.PostReply(m_session.Reply(MapMessage::kGetMarkLon));
      break;
  }
}

void QuorvinWindow::UseSource(const std::string& name) {
  m_tiles.reset();
  if (TileFolder::IsFolder(name)) {
    m_tiles = std::make_unique<TileFolder>(name);
    m_sourceText = "タイル: " + name;
  } else if (name.empty()) {
    m_sourceText = "内蔵の地図 (Natural Earth)";
  } else {
    m_sourceText = "地図ソフト「" + name + "」はここでは使えません。内蔵の地図を表示しています";
  }
}

void QuorvinWindow::Refresh(bool textsChanged) {
  m_textsDirty = m_textsDirty || textsChanged;
  m_statusDirty = true;
  Invalidate(false);
}

GeoPosition QuorvinWindow::ToWgs84(GeoPosition exchanged) const {
  return m_datum == ExchangeDatum::kTokyo ? TokyoToWgs84(exchanged) : exchanged;
}

GeoPosition QuorvinWindow::FromWgs84(GeoPosition wgs84) const {
  return m_datum == ExchangeDatum::kTokyo ? Wgs84ToTokyo(wgs84) : wgs84;
}

void QuorvinWindow::RebuildDrawnTexts() {
  m_drawnTexts.clear();
  for (const PlacedText& text : m_session.Texts()) {
    const GeoPosition at = ToWgs84({ArcMillisToDegrees(text.longitude), ArcMillisToDegrees(text.latitude)});
    m_drawnTexts.push_back({Project(at), WidenText(text.name)});
  }
  m_textsDirty = false;
}

void QuorvinWindow::FitToTexts() {
  std::vector<GeoPosition> positions;
  for (const DrawnText& text : m_drawnTexts) positions.push_back(Unproject(text.at));
  m_view.FitTo(positions, ScaledPixels(kFitMargin));
}

void QuorvinWindow::UpdateStatus() {
  char number[64];
  m_status.SetPaneText(kSourcePane, m_sourceText);
  m_status.SetPaneText(kLayerPane, "レイヤー " + (m_session.Layer().empty() ? "-" : m_session.Layer()));
  std::snprintf(number, sizeof number, "ポイント %zu", m_session.Texts().size());
  m_status.SetPaneText(kTextsPane, number);
  std::snprintf(number, sizeof number, "無視 %zu", m_session.IgnoredCount());
  m_status.SetPaneText(kIgnoredPane, number);
  m_status.SetPaneText(kDatumPane, m_datum == ExchangeDatum::kTokyo ? "日本測地系" : "世界測地系");
  m_statusDirty = false;
}

void QuorvinWindow::ShowPosition(ScreenPoint at) {
  const GeoPosition p = FromWgs84(m_view.PositionAt(at));
  const std::string latitude = DmsText(p.latitude), longitude = DmsText(p.longitude);
  m_status.SetPaneText(kPositionPane, latitude.empty() || longitude.empty()
                                          ? std::string()
                                          : "緯度" + latitude + "  経度" + longitude);
}

void QuorvinWindow::PaintMap(HDC dc) {
  if (m_textsDirty) RebuildDrawnTexts();
  if (m_fitPending) {
    FitToTexts();
    m_fitPending = false;
  }
  MapScene scene;
  scene.land = m_land ? &*m_land : nullptr;
  scene.tiles = m_tiles.get();
  scene.texts = m_drawnTexts;
  if (m_markerWgs84) scene.marker = Project(*m_markerWgs84);
  m_painter.Paint(dc, m_view, scene);
}

LRESULT QuorvinWindow::OnPaint(WPARAM, LPARAM) {
  if (m_statusDirty) UpdateStatus();
  PAINTSTRUCT paint;
  const HDC dc = ::BeginPaint(m_hwnd, &paint);
  if (!m_backDc || m_backWidth != m_view.Width() || m_backHeight != m_view.Height()) {
    if (m_backDc) {
      ::SelectObject(m_backDc, m_backOld);
      ::DeleteObject(m_backBitmap);
      ::DeleteDC(m_backDc);
    }
    m_backDc = ::CreateCompatibleDC(dc);
    m_backBitmap = ::CreateCompatibleBitmap(dc, m_view.Width(), m_view.Height());
    m_backOld = ::SelectObject(m_backDc, m_backBitmap);
    m_backWidth = m_view.Width();
    m_backHeight = m_view.Height();
  }
  PaintMap(m_backDc);
  ::BitBlt(dc, 0, 0, m_view.Width(), m_view.Height(), m_backDc, 0, 0, SRCCOPY);
  ::EndPaint(m_hwnd, &paint);
  return 0;
}

LRESULT QuorvinWindow::OnEraseBackground(WPARAM, LPARAM) { return 1; }

LRESULT QuorvinWindow::OnSize(WPARAM, LPARAM lParam) {
  // The status bar places itself along the bottom when it is sent WM_SIZE.
  m_status.Send(WM_SIZE);
  m_status.FitPanes();
  const RECT bar = m_status.WindowRect();
  m_view.Resize(LOWORD(lParam), std::max(1, static_cast<int>(HIWORD(lParam)) - static_cast<int>(bar.bottom - bar.top)));
  Invalidate(false);
  return 0;
}

LRESULT QuorvinWindow::OnLeftButtonDown(WPARAM, LPARAM lParam) {
  SetFocus();
  m_pressedAt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  m_lastDrag = *m_pressedAt;
  m_dragging = false;
  ::SetCapture(m_hwnd);
  return 0;
}

LRESULT QuorvinWindow::OnMouseMove(WPARAM, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (m_pressedAt) {
    if (!m_dragging && (std::abs(p.x - m_pressedAt->x) > ScaledPixels(kDragThreshold) || std::abs(p.y - m_pressedAt->y) > ScaledPixels(kDragThreshold)))
      m_dragging = true;
    if (m_dragging) {
      m_view.PanBy(p.x - m_lastDrag.x, p.y - m_lastDrag.y);
      m_lastDrag = p;
      Invalidate(false);
    }
  }
  ShowPosition({static_cast<double>(p.x), static_cast<double>(p.y)});
  return 0;
}

LRESULT QuorvinWindow::OnLeftButtonUp(WPARAM, LPARAM lParam) {
  if (!m_pressedAt) return 0;
  const bool click = !m_dragging;
  m_pressedAt.reset();
  ::ReleaseCapture();
  if (click) PlaceMarker({static_cast<double>(GET_X_LPARAM(lParam)), static_cast<double>(GET_Y_LPARAM(lParam))});
  return 0;
}

LRESULT QuorvinWindow::OnCaptureChanged(WPARAM, LPARAM lParam) {
  // Another window took the mouse mid-press: the press is over, and no click.
  if (reinterpret_cast<HWND>(lParam) != m_hwnd) m_pressedAt.reset();
  return 0;
}

LRESULT QuorvinWindow::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel's position comes in screen coordinates.
  const POINT p = ScreenToClient(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  ZoomBy(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1, {static_cast<double>(p.x), static_cast<double>(p.y)});
  return 0;
}

LRESULT QuorvinWindow::OnKeyDown(WPARAM wParam, LPARAM) {
  const ScreenPoint centre{m_view.Width() / 2.0, m_view.Height() / 2.0};
  switch (wParam) {
    case VK_LEFT: m_view.PanBy(ScaledPixels(kArrowPanPixels), 0); break;
    case VK_RIGHT: m_view.PanBy(-ScaledPixels(kArrowPanPixels), 0); break;
    case VK_UP: m_view.PanBy(0, ScaledPixels(kArrowPanPixels)); break;
    case VK_DOWN: m_view.PanBy(0, -ScaledPixels(kArrowPanPixels)); break;
    case VK_RETURN: PlaceMarker(centre); return 0;
    default: return Default();
  }
  Invalidate(false);
  return 0;
}

LRESULT QuorvinWindow::OnChar(WPARAM wParam, LPARAM) {
  // As characters, so that + and - work on every keyboard layout and on the keypad.
  const ScreenPoint centre{m_view.Width() / 2.0, m_view.Height() / 2.0};
  if (wParam == L'+' || wParam == L'=') ZoomBy(1, centre);
  else if (wParam == L'-') ZoomBy(-1, centre);
  else return Default();
  return 0;
}

void QuorvinWindow::ZoomBy(int steps, ScreenPoint anchor) {
  m_view.ZoomAt(steps, anchor);
  Invalidate(false);
}

void QuorvinWindow::OnZoomIn() { ZoomBy(1, {m_view.Width() / 2.0, m_view.Height() / 2.0}); }
void QuorvinWindow::OnZoomOut() { ZoomBy(-1, {m_view.Width() / 2.0, m_view.Height() / 2.0}); }

void QuorvinWindow::OnFitTexts() {
  m_fitPending = true;
  Invalidate(false);
}

void QuorvinWindow::PlaceMarker(ScreenPoint at) {
  const GeoPosition exchanged = FromWgs84(m_view.PositionAt(at));
  // The helper form has no sign and no room for more than 90° or 180°: a position it cannot
  // carry is refused here, not sent as some other place.
  if (exchanged.latitude < 0 || exchanged.latitude > 90 || exchanged.longitude < 0 || exchanged.longitude > 180) {
    m_status.SetPaneText(kPositionPane, "この位置は送れません");
    return;
  }
  const MarkerPosition marker{RoundToArcMillis(exchanged.latitude), RoundToArcMillis(exchanged.longitude)};
  m_session.SetMarker(marker);
  // Drawn where the rounded position the editor will get lies.
  m_markerWgs84 = ToWgs84({ArcMillisToDegrees(marker.longitude), ArcMillisToDegrees(marker.latitude)});
  m_link.PostMarkerNotice();
  Invalidate(false);
}

void QuorvinWindow::SetDatum(ExchangeDatum datum) {
  // The marker stays where it is on the ground; its exchanged coordinates follow the datum.
  const std::optional<GeoPosition> marker = m_markerWgs84;
  m_datum = datum;
  const Menu menu(GetMenu());
  ::CheckMenuRadioItem(menu.Handle(), IDM_DATUM_WGS84, IDM_DATUM_TOKYO,
                       datum == ExchangeDatum::kTokyo ? IDM_DATUM_TOKYO : IDM_DATUM_WGS84, MF_BYCOMMAND);
  if (marker) {
    const GeoPosition exchanged = FromWgs84(*marker);
    m_session.SetMarker({RoundToArcMillis(exchanged.latitude), RoundToArcMillis(exchanged.longitude)});
  }
  Refresh(true);
}

void QuorvinWindow::OnDatumWgs84() {
  SetDatum(ExchangeDatum::kWgs84);
  m_datumSetting.Save(m_datum);
}

void QuorvinWindow::OnDatumTokyo() {
  SetDatum(ExchangeDatum::kTokyo);
  m_datumSetting.Save(m_datum);
}

void QuorvinWindow::OnClose() { ::DestroyWindow(m_hwnd); }

LRESULT QuorvinWindow::OnDestroy(WPARAM, LPARAM) {
  if (m_quitOnDestroy) ::PostQuitMessage(0);
  return 0;
}
