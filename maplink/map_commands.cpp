// The main window's map commands: show the selected points on the map, add a point at the
// map's marker, and choose the map program.
#include "app/main_dialog.h"
#include "app/point_entry.h"
#include "framework/prompts.h"

namespace {

constexpr char kCapturedPointName[] = "新しいポイント";

}  // namespace

void MainDialog::OnMapDisplay() {
  if (!m_helperStarted) StartHelper();
  SendTextCommand(MapMessage::kDeleteText, "");
  std::string text;
  for (int row = m_pointList.FirstSelectedFrom(0); row >= 0; row = m_pointList.FirstSelectedFrom(row + 1)) {
    // A blank row stands for an empty slot between the points of a foreign file: it has no
    // place to show.
    if (!m_pointFile.IsUsed(row)) continue;
    text = ToHelperCoordinate(m_pointFile.GetLatitudeText(row));
    text += ',';
    text += ToHelperCoordinate(m_pointFile.GetLongitudeText(row));
    text += ',';
    text += m_pointFile.GetName(row);
    SendTextCommand(MapMessage::kAddTextEx, text);
  }
}

void MainDialog::OnCapturePosition() {
  if (!m_helperStarted) StartHelper();
  if (m_markerLatitude.empty() || m_markerLongitude.empty()) return;
  const int slot = m_pointFile.GetPointCount();
  // The new point goes after the last one. Past the end of a foreign file's leading run a
  // point may stand in that slot; then there is no room for it either.
  if (slot >= m_maxPoints || m_pointFile.InsertRecord(slot) < 0) {
    Prompts().ShowMessage(m_hwnd, PointLimitText(m_maxPoints));
    return;
  }
  // In a foreign file with gaps the slot already had a row, a blank one.
  const bool rowThere = m_pointList.GetItemCount() > slot;
  m_pointList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_pointFile.SetName(slot, kCapturedPointName);
  m_pointFile.SetLongitudeText(slot, m_markerLongitude);
  m_pointFile.SetLatitudeText(slot, m_markerLatitude);
  m_pointFile.UpdateChecksum(slot);
  if (rowThere) {
    // Filling it may have joined the points behind it to the run: show them as they are.
    m_pointList.ShowSlotsFrom(m_pointFile, slot);
  } else {
    m_row = PointTextRow::FromSlot(m_pointFile, slot);
    AddPointRow(m_row, slot);
  }
  m_pointList.SetItemState(slot, LVIS_SELECTED, LVIS_SELECTED);
  m_pointList.EnsureVisible(slot, false);
  UpdateStatusTexts();
  m_pointList.Update();
}

void MainDialog::OnSelectMapObject() {
  m_mapObjectDialog.SetKeyName(m_keyName);
  m_mapObjectDialog.SetParentWindow(m_hwnd);
  if (m_mapObjectDialog.DoModal() != IDOK) return;
  if (m_mapObjectName == m_mapObjectDialog.SelectedName() && m_helperStarted) return;
  CloseHelper();
  m_mapObjectName = m_mapObjectDialog.SelectedName();
  StartHelper();
}
