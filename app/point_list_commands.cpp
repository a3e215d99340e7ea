// The point list's contents, the status texts, and the list's own commands and
// notifications.
#include <windowsx.h>

#include <cstdio>

#include "app/main_dialog.h"
#include "app/point_search.h"
#include "resources/resource.h"

namespace {

constexpr int kEditMenuPosition = 1;  // "編集" in menu 128

}  // namespace

void MainDialog::FillPointList() {
  // Row i shows slot i, blank rows included.
  m_pointList.FillRows(m_pointFile, kSlotCount);
  // Filled before the window first shows (a file named on the command line), the list is
  // told the size of its rows now rather than in its first paint.
  if (!m_pointList.IsVisible()) m_pointList.MeasureRows();
  UpdateStatusTexts();
  m_pointList.Update();
}

void MainDialog::UpdateStatusTexts() {
  ShowPathPane();
  m_statusBar.SetPaneText(1, "");
  m_statusBar.SetPaneText(2, "地点登録数  " + std::to_string(m_pointFile.GetPointCount()));
}

void MainDialog::ShowPathPane() {
  const ImportListView& importList = m_importPanel.ImportList();
  const bool summary = m_viewMode == 1 && importList.ShowsSource();
  m_statusBar.SetPaneText(0, summary ? importList.SummaryText() : m_filePath, SBT_NOBORDERS);
}

void MainDialog::OnPointListClick(NMHDR*, LRESULT* result) {
  *result = 0;
  // With several rows selected the first one is reported, whichever was clicked.
  const int first = m_pointList.FirstSelectedFrom(0);
  if (first < 0) return;
  m_pointList.SelectRow(first);
  char text[16];
  std::snprintf(text, sizeof text, " %3d行", first + 1);
  m_statusBar.SetPaneText(1, text);
}

void MainDialog::OnPointListDoubleClick(NMHDR*, LRESULT* result) {
  *result = 0;
  OnEditPoint();
}

void MainDialog::OnPointListColumnClick(NMHDR* header, LRESULT* result) {
  *result = 0;
  const int column = reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem;
  if (column < 0 || column >= kPointColumnCount) return;
  m_sortDescending = column == m_sortColumn && !m_sortDescending;
  m_sortColumn = column;
  FileHistory::Change change(m_history);
  if (!SortPoints(m_pointFile, static_cast<PointColumn>(column), m_sortDescending)) return;
  // The rows' points moved: no selection would still mean what it meant.
  ListRedrawPause pause(m_pointList);
  m_pointList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_pointList.ShowSlotsFrom(m_pointFile, 0);
}

LRESULT MainDialog::OnContextMenu(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != m_pointList.Handle()) return 0;
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (at.x == -1 && at.y == -1) {
    // From the keyboard (Shift+F10, the menu key) there is no mouse point: show the menu
    // at the list's corner rather than at the corner of the screen.
    const RECT list = m_pointList.WindowRect();
    at = {list.left + 8, list.top + 8};
  }
  Menu menu;
  if (!menu.Load(IDR_MAINFRAME)) return 0;
  menu.SubMenu(kEditMenuPosition).TrackPopup(TPM_RIGHTBUTTON, at, m_hwnd);
  menu.Destroy();
  return 0;
}

// The two marks have no picture (the list has no check boxes) and nothing reads them;
// they are set as the commands always set them.
void MainDialog::OnSelectAll() {
  for (int i = 0; i < m_pointFile.GetPointCount(); ++i) m_pointList.SetCheck(i, true);
}

void MainDialog::OnDeselectAll() {
  for (int i = 0; i < m_pointFile.GetPointCount(); ++i) m_pointList.SetCheck(i, false);
}
