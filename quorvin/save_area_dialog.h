// 表示 → この範囲を保存: the tiles of the visible area from the current zoom down to a chosen
// zoom are fetched into the cache and kept there. The dialog shows how many tiles and about
// how many bytes before it starts, refuses above 20,000 tiles or past the cache's cap, and
// shows the progress with a cancel button. Modeless: the window hands it the progress as
// the tiles arrive.
#pragma once

#include <vector>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "quorvin/map_view.h"
#include "quorvin/web_tile_layer.h"

class SaveAreaDialog : public Dialog {
 public:
  // `tiles` outlives the dialog (the window closes it before it changes source).
  SaveAreaDialog(WebTileLayer& tiles, const MapView& view);
  ~SaveAreaDialog() override;

  BOOL OnInitDialog() override;
  // Starts the saving.
  void OnOK() override;
  // Cancels a saving under way; closes the dialog otherwise.
  void OnCancel() override;
  // The layer's progress changed.
  void ShowProgress();
  // For tests: choose the deepest zoom as the list would.
  void ChooseDeepestZoom(int zoom);
  bool Refused() const { return m_refused; }

  OSTREL_MESSAGE_TABLE();

 private:
  void OnZoomChanged();
  int DeepestZoom() const;

  WebTileLayer& m_tiles;
  WorldPoint m_topLeft, m_bottomRight;
  int m_firstZoom;
  ComboBox m_zoom;
  bool m_refused = false;
  bool m_started = false;
  bool m_cancelled = false;
};
