// Undo, redo, a file's content replaced as one change, and the state of the menu items
// that depend on what can be done.
#include "app/main_dialog.h"
#include "framework/clipboard.h"
#include "resources/resource.h"

void MainDialog::OnUndo() {
  if (m_history.Undo()) UpdateStatusTexts();
}

void MainDialog::OnRedo() {
  if (m_history.Redo()) UpdateStatusTexts();
}

void MainDialog::ReplacePoints(const PointFile& content) {
  // The same content is no change: nothing to undo, and the file stays as modified as it was.
  if (content.Image() == m_pointFile.Image()) return;
  {
    FileHistory::Change change(m_history);
    m_pointFile = content;
    m_pointFile.SetModified(true);
    m_pointList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_pointList.FillRows(m_pointFile, kSlotCount);
    m_pointList.EnsureVisible(0, false);  // a new content is shown from its start
  }
  UpdateStatusTexts();
}

LRESULT MainDialog::OnInitMenuPopup(WPARAM wParam, LPARAM) {
  // The main menu's 編集 and the list's context menu are the same pop-up.
  const HMENU menu = reinterpret_cast<HMENU>(wParam);
  ::EnableMenuItem(menu, ID_EDIT_UNDO, MF_BYCOMMAND | (m_history.CanUndo() ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, ID_EDIT_REDO, MF_BYCOMMAND | (m_history.CanRedo() ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, ID_EDIT_COPY, MF_BYCOMMAND | (m_pointList.GetSelectedCount() > 0 ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, ID_EDIT_PASTE, MF_BYCOMMAND | (ClipboardHasText() ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, IDM_BULK_EDIT, MF_BYCOMMAND | (m_pointList.GetSelectedCount() >= 2 ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, ID_EDIT_REPEAT, MF_BYCOMMAND | (m_findText.empty() ? MF_GRAYED : MF_ENABLED));
  ::EnableMenuItem(menu, IDM_MOVE_TO_MARKER, MF_BYCOMMAND | (RowToMoveToMarker() >= 0 ? MF_ENABLED : MF_GRAYED));
  // The helper may have changed the shared datum since the menu last opened.
  ::CheckMenuRadioItem(menu, IDM_DATUM_WGS84, IDM_DATUM_TOKYO,
                       m_datumSetting.Load() == ExchangeDatum::kTokyo ? IDM_DATUM_TOKYO : IDM_DATUM_WGS84,
                       MF_BYCOMMAND);
  return 0;
}
