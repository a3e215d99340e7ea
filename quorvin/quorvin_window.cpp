#include "quorvin/quorvin_window.h"

#include <windowsx.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/dpi.h"
#include "framework/text_encoding.h"
#include "pointfile/point_record.h"
#include "pointfile/text_forms.h"
#include "quorvin/quorvin_resource.h"
#include "quorvin/tile_folder.h"

namespace {

constexpr FrameWindowClass kWindowClass{L"QuorvinMapWindow"};
// In pixels at 96 DPI. A press that moves less than this is a click, not a drag.
constexpr int kDragThreshold = 4;
constexpr int kArrowPanPixels = 96;
constexpr int kFitMargin = 48;
constexpr UINT_PTR kRetryTimer = 1;
constexpr UINT kRetryMilliseconds = ConnectionState::kRetryInterval * 1000;

// A DMS text without the blanks that pad it to its column.
std::string Trimmed(const std::string& dms) { return dms.substr(std::min(dms.find_first_not_of(' '), dms.size())); }

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
    OnCommand<&QuorvinWindow::OnSaveArea>(IDM_SAVE_AREA),
    OnCommand<&QuorvinWindow::OnDatumWgs84>(IDM_DATUM_WGS84),
    OnCommand<&QuorvinWindow::OnDatumTokyo>(IDM_DATUM_TOKYO),
    OnCommand<&QuorvinWindow::OnSourceStandard>(IDM_SOURCE_STANDARD),
    OnCommand<&QuorvinWindow::OnSourcePale>(IDM_SOURCE_PALE),
    OnCommand<&QuorvinWindow::OnSourcePhoto>(IDM_SOURCE_PHOTO),
    OnCommand<&QuorvinWindow::OnSourceBuiltIn>(IDM_SOURCE_BUILT_IN),
    OnCommand<&QuorvinWindow::OnSourceObject>(IDM_SOURCE_OBJECT),
    OnCommand<&QuorvinWindow::OnCap100>(IDM_CACHE_CAP_100),
    OnCommand<&QuorvinWindow::OnCap500>(IDM_CACHE_CAP_500),
    OnCommand<&QuorvinWindow::OnCap1000>(IDM_CACHE_CAP_1000),
    OnCommand<&QuorvinWindow::OnCap2000>(IDM_CACHE_CAP_2000),
    OnCommand<&QuorvinWindow::OnEmptyCache>(IDM_CACHE_EMPTY),
    OnMessage<&QuorvinWindow::OnTilesArrived>(QuorvinWindow::kTilesArrivedMessage),
    OnMessage<&QuorvinWindow::OnTimer>(WM_TIMER),
};
OSTREL_DEFINE_MESSAGE_TABLE(QuorvinWindow, FrameWindow);

std::wstring DefaultTileCacheRoot() {
  PWSTR folder = nullptr;
  std::wstring root;
  if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK)
    root = std::wstring(folder) + L"\\Ostrel\\TileCache\\";
  ::CoTaskMemFree(folder);
  return root;
}

QuorvinWindow::QuorvinWindow(const BaseMap* baseMap, DatumSetting& datumSetting, MapSourceSetting& sourceSetting,
                             TileServices services)
    : m_datumSetting(datumSetting),
      m_sourceSetting(sourceSetting),
      m_services(std::move(services)),
      m_datum(datumSetting.Load()) {
  if (baseMap) m_land.emplace(*baseMap);
}

QuorvinWindow::~QuorvinWindow() {
  // Destroy the window while the members its handlers use still exist.
  if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
  m_saveDialog.reset();
  m_webTiles = nullptr;
  m_tiles.reset();
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
  // Web tiles announce themselves to the window, so they start once it exists.
  UseSource();
  return 0;
}

void QuorvinWindow::ApplyScale() {
  m_painter.SetScale(Scale());
  m_view.SetTilePixels(ScaledPixels(MapView::kTileSize));
  m_status.SetPanes({ScaledPixels(90), ScaledPixels(90), ScaledPixels(70), ScaledPixels(440)});
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
      TakeObjectName(m_session.SourceName());
      UseSource();
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

void QuorvinWindow::TakeObjectName(const std::string& name) {
  m_objectSource.reset();
  m_objectFault.clear();
  if (TileFolder::IsFolder(name)) {
    m_objectSource = FolderSource(name);
  } else if (LooksLikeUrl(name)) {
    if (const std::optional<std::string> fault = TemplateFault(name)) m_objectFault = *fault;
    else m_objectSource = WebSource(name);
  } else if (!name.empty()) {
    m_objectFault = "地図ソフト「" + name + "」はここでは使えません";
  }
}

void QuorvinWindow::UseSource() {
  const std::optional<std::string> choice = m_sourceSetting.LoadChoice();
  const TileSource* source = &BuiltInSource();
  if (!choice || *choice == MapSourceSetting::kObjectChoice) {
    if (m_objectSource) source = &*m_objectSource;
  } else {
    for (const TileSource& standard : StandardSources()) {
      if (standard.cacheName == *choice) source = &standard;
    }
  }
  // The same source keeps its tiles, its fetches and what it has drawn.
  if (m_tiles && m_tiles->Source().location == source->location && m_tiles->Source().kind == source->kind) {
    UpdateSourceMenu();
    return;
  }
  m_saveDialog.reset();
  m_webTiles = nullptr;
  m_tiles.reset();
  if (source->kind == TileSource::Kind::kFolder) {
    m_tiles = std::make_unique<TileFolder>(source->location);
  } else if (source->kind == TileSource::Kind::kWeb) {
    WebTileLayer::Settings settings;
    settings.cacheRoot = m_services.cacheRoot;
    settings.capBytes = std::uint64_t{m_sourceSetting.LoadCapMegabytes()} << 20;
    auto web = std::make_unique<WebTileLayer>(*source, m_services.fetcher, m_services.clock, m_hwnd,
                                              kTilesArrivedMessage, settings);
    m_webTiles = web.get();
    m_tiles = std::move(web);
  }
  if (source->kind == TileSource::Kind::kBuiltIn) {
    m_sourceText = m_objectFault.empty() || (choice && *choice != MapSourceSetting::kObjectChoice)
                       ? std::string("内蔵の地図 (Natural Earth)")
                       : m_objectFault + "。内蔵の地図を表示しています";
  } else {
    m_sourceText = source->title;
  }
  m_attribution = WidenText(source->attribution);
  UpdateSourceMenu();
  Refresh(false);
}

void QuorvinWindow::UpdateSourceMenu() {
  const Menu menu(GetMenu());
  const HMENU handle = menu.Handle();
  if (!handle) return;
  const std::wstring objectTitle =
      m_objectSource ? WidenText(m_objectSource->title) : WidenText("地図オブジェクトの地図 (なし)");
  ::ModifyMenuW(handle, IDM_SOURCE_OBJECT, MF_BYCOMMAND | MF_STRING, IDM_SOURCE_OBJECT, objectTitle.c_str());
  ::EnableMenuItem(handle, IDM_SOURCE_OBJECT, MF_BYCOMMAND | (m_objectSource ? MF_ENABLED : MF_GRAYED));
  UINT checked = IDM_SOURCE_BUILT_IN;
  if (m_tiles && m_objectSource && m_tiles->Source().location == m_objectSource->location) {
    checked = IDM_SOURCE_OBJECT;
  } else if (m_tiles) {
    const std::span<const TileSource> standard = StandardSources();
    for (std::size_t i = 0; i < standard.size(); ++i) {
      if (standard[i].location == m_tiles->Source().location) checked = IDM_SOURCE_STANDARD + static_cast<UINT>(i);
    }
  }
  ::CheckMenuRadioItem(handle, IDM_SOURCE_STANDARD, IDM_SOURCE_OBJECT, checked, MF_BYCOMMAND);
  const std::uint32_t cap = m_sourceSetting.LoadCapMegabytes();
  const UINT capItem = cap <= 100 ? IDM_CACHE_CAP_100 : cap <= 500 ? IDM_CACHE_CAP_500 : cap <= 1000 ? IDM_CACHE_CAP_1000 : IDM_CACHE_CAP_2000;
  ::CheckMenuRadioItem(handle, IDM_CACHE_CAP_100, IDM_CACHE_CAP_2000, capItem, MF_BYCOMMAND);
  for (const UINT webOnly : {IDM_CACHE_EMPTY, IDM_SAVE_AREA})
    ::EnableMenuItem(handle, webOnly, MF_BYCOMMAND | (m_webTiles ? MF_ENABLED : MF_GRAYED));
}

void QuorvinWindow::ChooseSource(const std::string& choice) {
  m_sourceSetting.SaveChoice(choice);
  UseSource();
}

void QuorvinWindow::OnSourceStandard() { ChooseSource(StandardSources()[0].cacheName); }
void QuorvinWindow::OnSourcePale() { ChooseSource(StandardSources()[1].cacheName); }
void QuorvinWindow::OnSourcePhoto() { ChooseSource(StandardSources()[2].cacheName); }
void QuorvinWindow::OnSourceBuiltIn() { ChooseSource(MapSourceSetting::kBuiltInChoice); }
void QuorvinWindow::OnSourceObject() { ChooseSource(MapSourceSetting::kObjectChoice); }

void QuorvinWindow::ChooseCap(std::uint32_t megabytes) {
  m_sourceSetting.SaveCapMegabytes(megabytes);
  if (m_webTiles) m_webTiles->SetCap(std::uint64_t{megabytes} << 20);
  UpdateSourceMenu();
}

void QuorvinWindow::OnCap100() { ChooseCap(100); }
void QuorvinWindow::OnCap500() { ChooseCap(500); }
void QuorvinWindow::OnCap1000() { ChooseCap(1000); }
void QuorvinWindow::OnCap2000() { ChooseCap(2000); }

void QuorvinWindow::OnEmptyCache() {
  if (!m_webTiles) return;
  m_webTiles->EmptyCache();
  Refresh(false);
}

LRESULT QuorvinWindow::OnTilesArrived(WPARAM, LPARAM) {
  if (!m_webTiles) return 0;
  if (m_webTiles->TakeArrivals()) Invalidate(false);
  if (SaveAreaDialog* dialog = SaveDialog()) dialog->ShowProgress();
  // Offline: the empty squares are asked for again once a minute, which lets one request
  // try the network.
  const bool offline = m_webTiles->Offline();
  if (offline != m_retryTimer) {
    if (offline) ::SetTimer(m_hwnd, kRetryTimer, kRetryMilliseconds, nullptr);
    else ::KillTimer(m_hwnd, kRetryTimer);
    m_retryTimer = offline;
  }
  m_statusDirty = true;
  return 0;
}

SaveAreaDialog* QuorvinWindow::SaveDialog() const {
  return m_saveDialog && m_saveDialog->IsWindow() ? m_saveDialog.get() : nullptr;
}

bool QuorvinWindow::TranslateDialogMessage(MSG& message) const {
  const SaveAreaDialog* dialog = SaveDialog();
  return dialog && ::IsDialogMessageW(dialog->Handle(), &message);
}

void QuorvinWindow::OnSaveArea() {
  if (!m_webTiles) return;
  if (SaveAreaDialog* open = SaveDialog()) {
    ::SetForegroundWindow(open->Handle());
    return;
  }
  m_saveDialog = std::make_unique<SaveAreaDialog>(*m_webTiles, m_view);
  if (m_saveDialog->Create(m_hwnd)) m_saveDialog->Show(SW_SHOW);
}

LRESULT QuorvinWindow::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam != kRetryTimer || !m_webTiles) return Default();
  m_webTiles->RetryOffline();
  Invalidate(false);
  return 0;
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
  // The source's pane is the one that grows with the window: the network's state goes there.
  const std::string network = !m_webTiles             ? std::string()
                              : m_webTiles->Offline() ? std::string("オフライン")
                                                      : m_webTiles->Problem();
  m_status.SetPaneText(kSourcePane, network.empty() ? m_sourceText : m_sourceText + "  (" + network + ")");
  m_status.SetPaneText(kLayerPane, "レイヤー " + (m_session.Layer().empty() ? "-" : m_session.Layer()));
  std::snprintf(number, sizeof number, "ポイント %zu", m_session.Texts().size());
  m_status.SetPaneText(kTextsPane, number);
  std::snprintf(number, sizeof number, "無視 %zu", m_session.IgnoredCount());
  m_status.SetPaneText(kIgnoredPane, number);
  m_statusDirty = false;
}

void QuorvinWindow::ShowPosition(ScreenPoint at) {
  m_cursorWgs84 = m_view.PositionAt(at);
  ShowCursorPosition();
}

void QuorvinWindow::ShowCursorPosition() {
  const bool tokyoFirst = m_datum == ExchangeDatum::kTokyo;
  std::string text;
  if (m_cursorWgs84) {
    for (const bool tokyo : {tokyoFirst, !tokyoFirst}) {
      const GeoPosition p = tokyo ? Wgs84ToTokyo(*m_cursorWgs84) : *m_cursorWgs84;
      const std::string latitude = DmsText(p.latitude), longitude = DmsText(p.longitude);
      if (latitude.empty() || longitude.empty()) {
        text.clear();
        break;
      }
      text += (text.empty() ? "" : "  ") + std::string(tokyo ? "日本 " : "世界 ") + Trimmed(latitude) + " " + Trimmed(longitude);
    }
  }
  // Off the map, or where no point file could hold the position, the pane names the datum.
  m_status.SetPaneText(kPositionPane, !text.empty() ? text : tokyoFirst ? "日本測地系" : "世界測地系");
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
  scene.attribution = m_attribution;
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
  ShowCursorPosition();
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
  if (m_retryTimer) ::KillTimer(m_hwnd, kRetryTimer);
  if (m_quitOnDestroy) ::PostQuitMessage(0);
  return 0;
}
