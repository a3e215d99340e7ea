// The helper's window, titled "Quorvin": the map, a menu (close, zoom, datum, map source,
// tile cache) and a status bar. It takes the editor's text commands, shows the points placed with "SUB_ADD_TEXT_EX",
// places the marker on a click (or Enter, at the centre) and answers the editor's marker
// requests. It ends its program when it is closed.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/frame_window.h"
#include "quorvin/base_map.h"
#include "registry/datum_setting.h"
#include "quorvin/editor_link.h"
#include "quorvin/helper_session.h"
#include "quorvin/map_painter.h"
#include "quorvin/map_source_setting.h"
#include "quorvin/map_view.h"
#include "quorvin/save_area_dialog.h"
#include "quorvin/tile_fetcher.h"
#include "quorvin/tile_layer.h"
#include "quorvin/web_tile_layer.h"

// What the web tiles are fetched through and cached in.
struct TileServices {
  TileFetcher& fetcher;
  const Clock& clock;
  std::wstring cacheRoot;  // %LOCALAPPDATA%\Ostrel\TileCache\ in the program
};

// The cache folder the program uses: %LOCALAPPDATA%\Ostrel\TileCache\ (empty when the
// system will not say where that is).
std::wstring DefaultTileCacheRoot();

class QuorvinWindow : public FrameWindow {
 public:
  // `baseMap` may be null (the map is then sea and grid only); the settings and the
  // services outlive the window.
  QuorvinWindow(const BaseMap* baseMap, DatumSetting& datumSetting, MapSourceSetting& sourceSetting,
                TileServices services);
  ~QuorvinWindow() override;

  // Creates the window (hidden) with its status bar.
  bool Create();
  // Whether closing the window ends the message loop (the program's own window does).
  void SetQuitOnDestroy(bool quit) { m_quitOnDestroy = quit; }

  // For tests and benchmarks: what the window shows.
  const HelperSession& Session() const { return m_session; }
  const MapView& View() const { return m_view; }
  ExchangeDatum Datum() const { return m_datum; }
  const StatusBar& Status() const { return m_status; }
  bool ShowsTiles() const { return m_tiles != nullptr; }
  // The web source's tiles, or null when the map shows another source.
  WebTileLayer* WebTiles() const { return m_webTiles; }
  // The save-area dialog while it is open, or null.
  SaveAreaDialog* SaveDialog() const;
  // For the message loop: keyboard messages of the modeless save-area dialog go to it.
  bool TranslateDialogMessage(MSG& message) const;
  // Where a position (WGS 84) is in the map area, in client pixels.
  ScreenPoint PixelOf(GeoPosition wgs84) const { return m_view.ToScreen(Project(wgs84)); }
  // Draws the whole map area into `dc`, as a repaint does.
  void PaintMap(HDC dc);

  // The position pane names the datum and, under the cursor, shows the position in the unit's
  // datum and then in the other one: an old file's coordinates and a new map's can both be read.
  enum StatusPane { kSourcePane, kLayerPane, kTextsPane, kIgnoredPane, kPositionPane };
  // Posted by the web tiles when tiles or progress arrived.
  static constexpr UINT kTilesArrivedMessage = WM_APP + 1;

  OSTREL_MESSAGE_TABLE();

 private:
  bool PreDispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnCommandMessage(WPARAM wParam, LPARAM lParam);

  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnEraseBackground(WPARAM, LPARAM);
  LRESULT OnLeftButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLeftButtonUp(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);
  LRESULT OnMouseWheel(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnChar(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnTilesArrived(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  void OnClose();
  void OnZoomIn();
  void OnZoomOut();
  void OnFitTexts();
  void OnSaveArea();
  void OnDatumWgs84();
  void OnDatumTokyo();
  void OnSourceStandard();
  void OnSourcePale();
  void OnSourcePhoto();
  void OnSourceBuiltIn();
  void OnSourceObject();
  void OnCap100();
  void OnCap500();
  void OnCap1000();
  void OnCap2000();
  void OnEmptyCache();

  // The painter's sizes, the tiles' and the status bar's panes at the window's scale.
  void ApplyScale();
  void OnScaleChanged(DisplayScale previous) override;
  void SetDatum(ExchangeDatum datum);
  // The map-object name's source, if it names a usable one.
  void TakeObjectName(const std::string& name);
  // Shows the source the kept choice and the map-object name make.
  void UseSource();
  void ChooseSource(const std::string& choice);
  void ChooseCap(std::uint32_t megabytes);
  void UpdateSourceMenu();
  void PlaceMarker(ScreenPoint at);
  void ZoomBy(int steps, ScreenPoint anchor);
  // Marks what changed; the next paint brings the map and the status bar up to date, so a
  // burst of messages costs one repaint.
  void Refresh(bool textsChanged);
  void RebuildDrawnTexts();
  void FitToTexts();
  void UpdateStatus();
  void ShowPosition(ScreenPoint at);
  void ShowCursorPosition();
  // WGS 84 <-> the datum coordinates are exchanged in.
  GeoPosition ToWgs84(GeoPosition exchanged) const;
  GeoPosition FromWgs84(GeoPosition wgs84) const;

  std::optional<ProjectedLand> m_land;
  DatumSetting& m_datumSetting;
  MapSourceSetting& m_sourceSetting;
  TileServices m_services;
  ExchangeDatum m_datum;
  EditorLink m_link;
  HelperSession m_session;
  MapView m_view;
  MapPainter m_painter;
  StatusBar m_status;
  std::unique_ptr<TileLayer> m_tiles;
  WebTileLayer* m_webTiles = nullptr;  // m_tiles, when it is a web source
  std::unique_ptr<SaveAreaDialog> m_saveDialog;  // saves into m_webTiles
  std::optional<TileSource> m_objectSource;
  std::string m_objectFault;  // why the map-object name is no usable source
  std::string m_sourceText;
  // The map position (WGS 84) under the cursor, while the cursor is over the map.
  std::optional<GeoPosition> m_cursorWgs84;
  std::wstring m_attribution;
  bool m_retryTimer = false;
  std::vector<DrawnText> m_drawnTexts;
  std::optional<GeoPosition> m_markerWgs84;
  bool m_textsDirty = false;
  bool m_fitPending = false;
  bool m_statusDirty = true;
  bool m_quitOnDestroy = false;
  // Dragging: where the button went down and the last pointer position.
  std::optional<POINT> m_pressedAt;
  POINT m_lastDrag{};
  bool m_dragging = false;
  // The off-screen picture of the map area.
  HDC m_backDc = nullptr;
  HBITMAP m_backBitmap = nullptr;
  HGDIOBJ m_backOld = nullptr;
  int m_backWidth = 0, m_backHeight = 0;
};
