// The find box and find next: rows are selected, never hidden, so row i stays slot i.
#include <algorithm>
#include <vector>

#include "app/main_dialog.h"
#include "app/point_search.h"

void MainDialog::OnFind() { m_findBox.Open(m_hwnd); }

void MainDialog::FindTextChanged(const std::string& text) {
  m_findText = text;
  const std::vector<int> found = FindPoints(m_pointFile, m_findText);
  ListRedrawPause pause(m_pointList);
  m_pointList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : found) m_pointList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  if (found.empty()) return;
  m_pointList.SetItemState(found.front(), LVIS_FOCUSED, LVIS_FOCUSED);
  m_pointList.EnsureVisible(found.front(), false);
}

void MainDialog::FindNext() {
  const std::vector<int> found = FindPoints(m_pointFile, m_findText);
  if (found.empty()) return;
  // After the focused row, and round to the first again.
  const int focused = m_pointList.GetNextItem(-1, LVNI_FOCUSED);
  const auto next = std::upper_bound(found.begin(), found.end(), focused);
  const int row = next != found.end() ? *next : found.front();
  ListRedrawPause pause(m_pointList);
  m_pointList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_pointList.SelectRow(row);
  m_pointList.EnsureVisible(row, false);
}
