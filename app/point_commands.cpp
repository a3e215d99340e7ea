// Edit, add and delete points, and the point edit dialog they run. Row i of the point
// list shows slot i of the point file after every command.
#include <algorithm>
#include <vector>

#include "framework/prompts.h"
#include "app/main_dialog.h"
#include "app/point_edit_dialog.h"
#include "app/point_entry.h"

namespace {

std::vector<int> SelectedRows(const PointListView& list) {
  std::vector<int> rows;
  for (int i = list.FirstSelectedFrom(0); i >= 0; i = list.FirstSelectedFrom(i + 1)) rows.push_back(i);
  return rows;
}

// The first row a command changes when the first row it inserts, removes or selects is
// `first`: the focus moves to the selected row, so the row that had it changes too.
int FirstChangedRow(const PointListView& list, int first) {
  const int focused = list.GetNextItem(-1, LVNI_FOCUSED);
  return focused >= 0 ? std::min(first, focused) : first;
}

}  // namespace

void MainDialog::OnEditPoint() {
  const int index = m_pointList.FirstSelectedFrom(0);
  // A blank row stands for an empty slot between points of a foreign file: nothing to edit.
  if (index < 0 || !m_pointFile.IsUsed(index)) return;
  m_editIndex = index;
  EditPoint(false, index);
  RefreshPointRow(index);  // also after Cancel: the row shows the point as it is
  m_pointList.Update();
}

void MainDialog::OnAddPoint() {
  if (m_pointFile.GetPointCount() >= m_maxPoints) {
    ShowPointLimit();
    return;
  }
  // The new point goes in front of the first selected one, or at the top. A file from
  // elsewhere may have points after a gap; a new point never goes past the end of the
  // leading run, where it would land on such a point.
  const bool gaps = m_pointFile.CountStrayPoints() > 0;
  const int position = std::min(std::max(m_pointList.FirstSelectedFrom(0), 0), m_pointFile.CountPoints());
  if (EditPoint(true, position) == IDOK) {
    ListRedrawPause pause(m_pointList);
    pause.RowsChangedFrom(FirstChangedRow(m_pointList, position));
    if (gaps) {
      m_pointList.ShowSlotsFrom(m_pointFile, position);
    } else {
      m_row.ReadSlot(m_pointFile, position);
      AddPointRow(m_row, position);
    }
    for (int row : SelectedRows(m_pointList)) m_pointList.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SelectRow(position);
    m_pointList.EnsureVisible(position, false);
    UpdateStatusTexts();
  }
  m_pointList.Update();
}

void MainDialog::OnDeletePoint() {
  const std::vector<int> selected = SelectedRows(m_pointList);
  if (selected.empty()) return;
  if (m_pointFile.CountStrayPoints() > 0) {
    // Behind a gap the table does not close up as the rows would: delete from the back so
    // the slot numbers stay valid, then show the slots as they now are.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) m_pointFile.DeleteRecord(*it);
    for (int row : selected) m_pointList.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_pointList.ShowSlotsFrom(m_pointFile, selected.front());
    if (selected.front() < m_pointList.GetItemCount()) SelectRow(selected.front());
    UpdateStatusTexts();
    return;
  }
  // Each removal moves the later rows and points up by one, so a row still to be removed
  // is found at its first index less the number removed before it.
  ListRedrawPause pause(m_pointList);
  pause.RowsChangedFrom(FirstChangedRow(m_pointList, selected.front()));
  int removed = 0;
  for (int first : selected) {
    const int index = first - removed++;
    m_pointList.DeleteItem(index);
    m_pointFile.DeleteRecord(index);
    UpdateStatusTexts();
    if (index < m_pointList.GetItemCount()) SelectRow(index);
  }
}

void MainDialog::ShowPointLimit() {
  char text[64];
  std::snprintf(text, sizeof text, "%d地点以上は登録出来ません", m_maxPoints);
  Prompts().ShowMessage(m_hwnd, text);
}

int MainDialog::EditPoint(bool isNew, int index) {
  PointEditDialog dialog(m_hwnd, m_largeIcons);
  dialog.entry = isNew ? NewPointEntry() : ReadPointEntry(m_pointFile, index);
  const INT_PTR result = dialog.DoModal();
  if (result != IDOK) return static_cast<int>(result);
  switch (StorePointEntry(m_pointFile, isNew, index, dialog.entry)) {
    case StoreResult::kStored:
      return IDOK;
    case StoreResult::kIncomplete:
      Prompts().ShowMessage(m_hwnd, kEntryIncompleteText);
      return IDCANCEL;
    case StoreResult::kNoRoom:
      ShowPointLimit();
      return IDCANCEL;
  }
  return IDCANCEL;
}
