#include "quorvin/save_area_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "quorvin/quorvin_resource.h"

namespace {

std::string SizeText(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1 << 20));
  return text;
}

}  // namespace

const MessageEntry SaveAreaDialog::kMessageEntries[] = {
    OnControl<&SaveAreaDialog::OnZoomChanged>(CBN_SELCHANGE, IDC_SAVE_ZOOM),
};
OSTREL_DEFINE_MESSAGE_TABLE(SaveAreaDialog, Dialog);

SaveAreaDialog::SaveAreaDialog(WebTileLayer& tiles, const MapView& view)
    : Dialog(IDD_SAVE_AREA),
      m_tiles(tiles),
      m_topLeft(view.ToWorld({0, 0})),
      m_bottomRight(view.ToWorld({view.Width() - 0.5, view.Height() - 0.5})),
      m_firstZoom(std::clamp(view.Zoom(), tiles.Source().minZoom, tiles.Source().maxZoom)) {}

SaveAreaDialog::~SaveAreaDialog() {
  // The handlers use the members: the window goes first.
  if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
}

BOOL SaveAreaDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  m_zoom.Bind(Item(IDC_SAVE_ZOOM));
  for (int zoom = m_firstZoom; zoom <= m_tiles.Source().maxZoom; ++zoom) m_zoom.AddString(std::to_string(zoom));
  // Two zooms deeper than the view by default: street level around what is shown.
  m_zoom.SetCurSel(std::min(2, m_zoom.GetCount() - 1));
  ::SendMessageW(Item(IDC_SAVE_PROGRESS), PBM_SETRANGE32, 0, 1000);
  OnZoomChanged();
  return TRUE;
}

int SaveAreaDialog::DeepestZoom() const { return m_firstZoom + std::max(0, m_zoom.GetCurSel()); }

void SaveAreaDialog::ChooseDeepestZoom(int zoom) {
  m_zoom.SetCurSel(zoom - m_firstZoom);
  OnZoomChanged();
}

void SaveAreaDialog::OnZoomChanged() {
  const std::uint64_t count = CountTilesToSave(m_topLeft, m_bottomRight, m_firstZoom, DeepestZoom());
  const std::uint64_t bytes = count * m_tiles.TypicalTileBytes();
  std::string text = "縮尺 " + std::to_string(m_firstZoom) + "-" + std::to_string(DeepestZoom()) + ": タイル " +
                     std::to_string(count) + " 枚、約 " + SizeText(bytes);
  const std::optional<std::string> refusal =
      SaveRefusal(count, m_tiles.TypicalTileBytes(), m_tiles.SavedBytes(), m_tiles.CapBytes());
  if (refusal) text += "\r\n" + *refusal;
  m_refused = refusal.has_value();
  SetItemText(IDC_SAVE_ESTIMATE, text);
  EnableItem(IDOK, !m_refused && !m_started);
}

void SaveAreaDialog::OnOK() {
  if (m_refused || m_started) return;
  m_started = true;
  EnableItem(IDOK, false);
  EnableItem(IDC_SAVE_ZOOM, false);
  m_tiles.StartSaving(TilesToSave(m_topLeft, m_bottomRight, m_firstZoom, DeepestZoom()));
  ShowProgress();
}

void SaveAreaDialog::OnCancel() {
  if (m_started && m_tiles.Saving().Running()) {
    m_tiles.CancelSaving();
    m_cancelled = true;
    ShowProgress();
    return;
  }
  ::DestroyWindow(m_hwnd);
}

void SaveAreaDialog::ShowProgress() {
  const WebTileLayer::SaveProgress progress = m_tiles.Saving();
  if (!m_started) return;
  const std::uint64_t finished = progress.done + progress.failed;
  ::SendMessageW(Item(IDC_SAVE_PROGRESS), PBM_SETPOS,
                 progress.total ? static_cast<WPARAM>(finished * 1000 / progress.total) : 1000, 0);
  const char* state = progress.Running() ? "保存中: " : m_cancelled ? "中止しました: " : "保存しました: ";
  std::string text = state + std::to_string(progress.done) + " / " +
                     std::to_string(progress.total) + " 枚";
  if (progress.failed) text += " (取得できなかったタイル " + std::to_string(progress.failed) + " 枚)";
  SetItemText(IDC_SAVE_STATE, text);
  if (!progress.Running()) SetItemText(IDCANCEL, "閉じる");
}
