#include "app/restore_backup_dialog.h"

#include <commctrl.h>

#include "resources/resource.h"

const MessageEntry RestoreBackupDialog::kMessageEntries[] = {
    OnNotify<&RestoreBackupDialog::OnRowDoubleClick>(NM_DBLCLK, IDC_BACKUP_LIST),
};
OSTREL_DEFINE_MESSAGE_TABLE(RestoreBackupDialog, Dialog);

RestoreBackupDialog::RestoreBackupDialog(HWND owner, std::vector<BackupRow> rows)
    : Dialog(IDD_RESTORE_BACKUP, owner), m_rows(std::move(rows)) {}

void RestoreBackupDialog::DoDataExchange(DataExchange& dx) { dx.Control(IDC_BACKUP_LIST, m_list); }

BOOL RestoreBackupDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  m_list.InsertColumn(0, "日時", ScaledPixels(160));
  m_list.InsertColumn(1, "ポイント数", ScaledPixels(80), LVCFMT_RIGHT);
  m_list.InsertColumn(2, "現在と異なるポイント", ScaledPixels(160), LVCFMT_RIGHT);
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const int row = static_cast<int>(i);
    m_list.InsertItem(row, m_rows[i].when);
    m_list.SetItemText(row, 1, std::to_string(m_rows[i].pointCount));
    m_list.SetItemText(row, 2, std::to_string(m_rows[i].differingPoints));
  }
  m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ::SetFocus(m_list.Handle());
  return FALSE;  // the focus is on the list
}

void RestoreBackupDialog::OnOK() {
  m_chosen = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (m_chosen < 0) return;  // nothing chosen: nothing to restore yet
  EndDialog(IDOK);
}

void RestoreBackupDialog::OnRowDoubleClick(NMHDR*, LRESULT*) { OnOK(); }
