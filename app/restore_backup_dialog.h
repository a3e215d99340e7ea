// RestoreBackupDialog: the modal dialog (template 172) that lists the backups of the open file,
// newest first, with their time, point count and how many points differ from the open file,
// and lets the user choose one. It only chooses: the main window loads the backup.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/dialog.h"

struct BackupRow {
  std::string when;  // "2026/12/09 11:34:25"
  int pointCount = 0;
  int differingPoints = 0;
};

class RestoreBackupDialog : public Dialog {
 public:
  RestoreBackupDialog(HWND owner, std::vector<BackupRow> rows);

  // After IDOK: the row chosen.
  int Chosen() const { return m_chosen; }

  BOOL OnInitDialog() override;
  void OnOK() override;

 protected:
  void DoDataExchange(DataExchange& dx) override;

 private:
  void OnRowDoubleClick(NMHDR* header, LRESULT* result);

  std::vector<BackupRow> m_rows;
  int m_chosen = -1;
  ListView m_list;

  OSTREL_MESSAGE_TABLE();
};
