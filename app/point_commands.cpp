// Edit, add, delete and move points, the point edit dialog they run, and the one way new points
// reach the open file. Row i of the point list shows slot i of the point file after every
// command.
#include <algorithm>
#include <vector>

#include "app/bulk_edit_dialog.h"
#include "app/main_dialog.h"
#include "app/point_edit_dialog.h"
#include "app/point_entry.h"
#include "framework/prompts.h"
#include "maplink/capture.h"
#include "resources/resource.h"

namespace {

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
  FileHistory::Change change(m_history);
  EditPoint(false, index);
  m_pointList.RefreshPointRow(m_pointFile, index);  // also after Cancel: the row shows the point as it is
  m_pointList.Update();
}

void MainDialog::OnAddPoint() {
  if (m_pointFile.GetPointCount() >= m_maxPoints) {
    ShowPointLimit();
    return;
  }
  // The new point goes in front of the first selected one, or at the top.
  EditPoint(true, std::max(m_pointList.FirstSelectedFrom(0), 0));
  m_pointList.Update();
}

void MainDialog::OnDeletePoint() {
  const std::vector<int> selected = m_pointList.SelectedRows();
  if (selected.empty()) return;
  FileHistory::Change change(m_history);
  if (m_pointFile.CountStrayPoints() > 0) {
    // Behind a gap the table does not close up as the rows would: delete from the back so
    // the slot numbers stay valid, then show the slots as they now are.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) m_pointFile.DeleteRecord(*it);
    for (int row : selected) m_pointList.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_pointList.ShowSlotsFrom(m_pointFile, selected.front());
    if (selected.front() < m_pointList.GetItemCount()) m_pointList.SelectRow(selected.front());
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
    if (index < m_pointList.GetItemCount()) m_pointList.SelectRow(index);
  }
}

void MainDialog::OnBulkEdit() {
  std::vector<int> selected = m_pointList.SelectedRows();
  std::erase_if(selected, [&](int row) { return !m_pointFile.IsUsed(row); });  // blank rows of a gap
  if (selected.size() < 2) return;
  BulkEditDialog dialog(m_hwnd, m_icons.Small());
  if (dialog.DoModal() != IDOK) return;
  FileHistory::Change change(m_history);
  StoreBulkChoice(m_pointFile, selected, dialog.choice);
  ListRedrawPause pause(m_pointList);
  pause.RowsChangedFrom(selected.front());
  for (int row : selected) m_pointList.RefreshPointRow(m_pointFile, row);
}

int MainDialog::RowToMoveToMarker() const {
  if (!m_helperLink.Marker().Known()) return -1;
  const std::vector<int> selected = m_pointList.SelectedRows();
  if (selected.size() != 1 || !m_pointFile.IsUsed(selected.front())) return -1;
  return selected.front();
}

void MainDialog::OnMoveToMarker() {
  const int row = RowToMoveToMarker();
  if (row < 0) return;
  FileHistory::Change change(m_history);
  MovePointToMarker(m_pointFile, row, m_helperLink.Marker());
  m_pointList.RefreshPointRow(m_pointFile, row);
  m_pointList.Update();
}

void MainDialog::ShowPointLimit() { Prompts().ShowMessage(m_hwnd, PointLimitText(m_maxPoints)); }

int MainDialog::EditPoint(bool isNew, int index) {
  PointEditDialog dialog(m_hwnd, m_icons.Large());
  dialog.entry = isNew ? NewPointEntry() : ReadPointEntry(m_pointFile, index);
  const INT_PTR result = dialog.DoModal();
  if (result != IDOK) return static_cast<int>(result);
  if (!IsEntryComplete(dialog.entry)) {
    Prompts().ShowMessage(m_hwnd, kEntryIncompleteText);
    return IDCANCEL;
  }
  if (!isNew) {
    StorePointEntry(m_pointFile, index, dialog.entry);
    return IDOK;
  }
  const Insertion added = InsertPoints(
      [&](PointFile& file, int maxPoints) { return InsertPointEntry(file, index, dialog.entry, maxPoints); },
      NewRows::kSelectAndFocus);
  return added.count > 0 ? IDOK : IDCANCEL;
}

Insertion MainDialog::InsertPoints(const std::function<Insertion(PointFile&, int maxPoints)>& insert,
                                   NewRows newRows) {
  // Behind a gap of a file from elsewhere the table does not move in step with the rows:
  // the rows are then shown afresh from the slots.
  const bool gaps = m_pointFile.CountStrayPoints() > 0;
  FileHistory::Change change(m_history);
  const Insertion done = insert(m_pointFile, m_maxPoints);
  if (done.count > 0) {
    // Rows above the new ones keep their looks, unless the selection leaves them.
    int changedFrom = done.first;
    if (newRows != NewRows::kKeepSelection) {
      const int selected = m_pointList.FirstSelectedFrom(0);
      changedFrom = FirstChangedRow(m_pointList, selected >= 0 ? std::min(selected, done.first) : done.first);
    }
    ListRedrawPause pause(m_pointList);
    pause.RowsChangedFrom(changedFrom);
    if (newRows != NewRows::kKeepSelection) m_pointList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (gaps) {
      m_pointList.ShowSlotsFrom(m_pointFile, done.first);
    } else {
      for (int slot = done.first; slot < done.first + done.count; ++slot) m_pointList.AddPointRow(m_pointFile, slot);
    }
    if (newRows != NewRows::kKeepSelection) {
      for (int slot = done.first; slot < done.first + done.count; ++slot)
        m_pointList.SetItemState(slot, LVIS_SELECTED, LVIS_SELECTED);
      if (newRows == NewRows::kSelectAndFocus) m_pointList.SetItemState(done.first, LVIS_FOCUSED, LVIS_FOCUSED);
      m_pointList.EnsureVisible(done.first, false);
    }
    UpdateStatusTexts();
  }
  // The points that went in stay. The box comes once the list shows them.
  if (done.full) ShowPointLimit();
  return done;
}
