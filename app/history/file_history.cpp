#include "app/history/file_history.h"

#include <algorithm>

#include "app/point_list_view.h"
#include "lists/point_text_row.h"

namespace {

// When the rows of `after` are those of `before` with one run of rows taken out at
// `first` (a negative count) or put in there (a positive count), that count; else 0. Files
// with gaps are left to a rewrite of the rows.
int RunOfRowsChanged(const PointFile& before, const PointFile& after, int first) {
  if (before.CountStrayPoints() > 0 || after.CountStrayPoints() > 0) return 0;
  const int change = after.GetPointCount() - before.GetPointCount();
  if (change == 0) return 0;
  const PointFile& longer = change > 0 ? after : before;
  const PointFile& shorter = change > 0 ? before : after;
  const int run = change > 0 ? change : -change;
  const auto slot = [](const PointFile& file, int i) { return file.Image().data() + kHeaderLength + i * PointRecord::kEncodedLength; };
  const int rest = shorter.GetPointCount() - first;
  if (rest < 0) return 0;
  return std::equal(slot(shorter, first), slot(shorter, first + rest), slot(longer, first + run)) ? change : 0;
}

}  // namespace

FileHistory::Change::Change(FileHistory& history) : m_history(history) {
  if (m_history.m_openScopes++ > 0) return;
  m_before.emplace(m_history.m_file);
  m_beforeList = m_history.CurrentListState();
}

FileHistory::Change::~Change() {
  --m_history.m_openScopes;
  if (!m_before || m_before->Image() == m_history.m_file.Image()) return;
  m_history.m_steps.Record(*m_before, m_beforeList, m_history.m_file, m_history.CurrentListState());
  m_history.Tell();
}

bool FileHistory::Undo() {
  const std::optional<FileState> state = m_steps.Undo();
  if (state) Restore(*state);
  return state.has_value();
}

bool FileHistory::Redo() {
  const std::optional<FileState> state = m_steps.Redo();
  if (state) Restore(*state);
  return state.has_value();
}

ListState FileHistory::CurrentListState() const {
  ListState state;
  state.selected = m_list.SelectedRows();
  state.focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
  state.topRow = static_cast<int>(m_list.Send(LVM_GETTOPINDEX));
  return state;
}

void FileHistory::Restore(const FileState& state) {
  const ListState shown = CurrentListState();
  // Only the rows from the first slot that differs are written again.
  const auto& before = m_file.Image();
  const auto& after = state.file->Image();
  const auto differs = std::mismatch(before.begin(), before.end(), after.begin()).first;
  const int firstSlot =
      std::max(0, static_cast<int>(differs - before.begin()) - static_cast<int>(kHeaderLength)) / PointRecord::kEncodedLength;

  const int runOfRows = RunOfRowsChanged(m_file, *state.file, firstSlot);
  m_file = *state.file;
  m_file.SetModified(m_steps.IsModified());

  // Rows above the first changed one keep their looks unless their selection changes.
  int changedFrom = firstSlot;
  for (const ListState* list : {&shown, &state.list}) {
    if (!list->selected.empty()) changedFrom = std::min(changedFrom, list->selected.front());
    if (list->focused >= 0) changedFrom = std::min(changedFrom, list->focused);
  }
  {
    ListRedrawPause pause(m_list);
    pause.RowsChangedFrom(changedFrom);
    // A run of rows removed or put back (a delete, an add) moves the rows below it as the
    // list's own insertion and removal do; anything else is written again from its slot on.
    if (runOfRows < 0) {
      for (int k = 0; k < -runOfRows; ++k) m_list.DeleteItem(firstSlot);
    } else if (runOfRows > 0) {
      for (int slot = firstSlot; slot < firstSlot + runOfRows; ++slot) m_list.AddPointRow(m_file, slot);
    } else {
      m_list.ShowSlotsFrom(m_file, firstSlot);
    }
    m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : state.list.selected) m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    if (state.list.focused >= 0) m_list.SetItemState(state.list.focused, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  // A list whose drawing is held back keeps its old scroll range: it scrolls afterwards.
  m_list.ScrollToTop(state.list.topRow);
  Tell();
}
