// The helper's window, titled "Quorvin": the map, a menu (close, zoom, datum) and a status
// bar. It takes the editor's text commands, shows the points placed with "SUB_ADD_TEXT_EX",
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
#include "quorvin/datum_setting.h"
#include "quorvin/editor_link.h"
#include "quorvin/helper_session.h"
#include "quorvin/map_painter.h"
#include "quorvin/map_view.h"
#include "quorvin/tile_folder.h"

class QuorvinWindow : public FrameWindow {
 public:
  // `baseMap` may be null (the map is then sea and grid only); `datumSetting` outlives the
  // window.
  QuorvinWindow(const BaseMap* baseMap, DatumSetting& datumSetting);
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
  // Where a position (WGS 84) is in the map area, in client pixels.
  ScreenPoint PixelOf(GeoPosition wgs84) const { return m_view.ToScreen(Project(wgs84)); }
  // Draws the whole map area into `dc`, as a repaint does.
  void PaintMap(HDC dc);

  enum StatusPane { kSourcePane, kLayerPane, kTextsPane, kIgnoredPane, kDatumPane, kPositionPane };

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
  void OnClose();
  void OnZoomIn();
  void OnZoomOut();
  void OnFitTexts();
  void OnDatumWgs84();
  void OnDatumTokyo();

  // The painter's sizes, the tiles' and the status bar's panes at the window's scale.
  void ApplyScale();
  void OnScaleChanged(DisplayScale previous) override;
  void SetDatum(ExchangeDatum datum);
  void UseSource(const std::string& name);
  void PlaceMarker(ScreenPoint at);
  void ZoomBy(int steps, ScreenPoint anchor);
  // Marks what changed; the next paint brings the map and the status bar up to date, so a
  // burst of messages costs one repaint.
  void Refresh(bool textsChanged);
  void RebuildDrawnTexts();
  void FitToTexts();
  void UpdateStatus();
  void ShowPosition(ScreenPoint at);
  // WGS 84 <-> the datum coordinates are exchanged in.
  GeoPosition ToWgs84(GeoPosition exchanged) const;
  GeoPosition FromWgs84(GeoPosition wgs84) const;

  std::optional<ProjectedLand> m_land;
  DatumSetting& m_datumSetting;
  ExchangeDatum m_datum;
  EditorLink m_link;
  HelperSession m_session;
  MapView m_view;
  MapPainter m_painter;
  StatusBar m_status;
  std::unique_ptr<TileFolder> m_tiles;
  std::string m_sourceText;
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
