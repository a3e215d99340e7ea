// Open, Save, Save As and the question on closing.
#include "framework/prompts.h"
#include "app/main_dialog.h"
#include "app/restore_backup_dialog.h"
#include "pointfile/point_backups.h"
#include "pointfile/point_diff.h"

namespace {

// The two dialogs' filters differ by one blank; both are kept as users know them.
constexpr char kOpenFilter[] = "PNT ファイル(*.pnt)|*.pnt|すべてのファイル (*.*)|*.*||";
constexpr char kSaveFilter[] = "PNT ファイル (*.pnt)|*.pnt|すべてのファイル (*.*)|*.*||";
constexpr char kDefaultExtension[] = "pnt";

FileDialogRequest PointFileDialog(bool save, bool overwritePrompt, const std::string& dir) {
  FileDialogRequest request;
  request.save = save;
  request.filter = save ? kSaveFilter : kOpenFilter;
  request.defaultExtension = kDefaultExtension;
  request.initialDirectory = dir;
  request.overwritePrompt = overwritePrompt;
  request.hideReadOnly = true;
  return request;
}

}  // namespace

void MainDialog::OnFileOpen() {
  const std::optional<std::string> path =
      Prompts().ChooseFile(m_hwnd, PointFileDialog(false, false, m_fileDir));
  if (!path) return;
  // Unsaved changes are not asked about: opening replaces them, as a dropped file does.
  m_filePath = *path;
  RememberPath(m_filePath);
  OpenPointFile(m_filePath);
}

void MainDialog::OnFileSave() {
  if (!m_pointFile.IsModified()) return;
  if (!m_savePath.empty()) {
    SavePoints(m_savePath);
    return;
  }
  // No point file is known yet; this dialog does not ask before replacing a file.
  const std::optional<std::string> path =
      Prompts().ChooseFile(m_hwnd, PointFileDialog(true, false, m_fileDir));
  if (!path) return;
  m_filePath = *path;
  RememberPath(m_filePath);
  SavePoints(m_savePath);
  // Status pane 0 follows the chosen path (on the edit screen); the other panes stay.
  ShowPathPane();
}

void MainDialog::OnFileSaveAs() { AskSaveAs(); }

void MainDialog::SavePoints(const std::string& path) {
  if (!KeepBackupBeforeSave(path)) return;
  // A save that failed leaves the mark where the disk's content is: undoing back there
  // still makes the file unmodified.
  if (m_pointFile.SavePoints(path, m_fileStore, m_messageSink) == 0) m_history.MarkSaved();
}

bool MainDialog::KeepBackupBeforeSave(const std::string& path) {
  if (path.empty()) return true;  // nothing is replaced; the save says what is wrong with the path
  PointBackups backups(*m_backups);
  const FileCause cause = backups.KeepFileOf(path, m_fileStore, LocalBackupStamp());
  if (cause == FileCause::kNone) return true;
  const std::string question = "\"" + path + "\"\n\nのバックアップを作成できませんでした。\n" +
                               FileCauseText(static_cast<int>(cause)) + "\n\nバックアップなしで保存しますか？";
  return Prompts().AskYesNo(m_hwnd, question) == IDYES;
}

void MainDialog::AskSaveAs() {
  const std::optional<std::string> path =
      Prompts().ChooseFile(m_hwnd, PointFileDialog(true, true, m_fileDir));
  if (!path) return;
  m_filePath = *path;
  RememberPath(m_filePath);
  SavePoints(m_savePath);
  // Status pane 0 follows the chosen path (on the edit screen); the other panes stay.
  ShowPathPane();
}

// The backups of the path Save writes to. One that cannot be read or holds no point file is
// left out: there is nothing in it to restore.
void MainDialog::OnRestoreBackup() {
  PointBackups backups(*m_backups);
  std::vector<PointFile> loaded;
  std::vector<BackupRow> rows;
  for (const BackupEntry& entry : m_savePath.empty() ? std::vector<BackupEntry>() : backups.List(m_savePath)) {
    PointFile& points = loaded.emplace_back();
    if (backups.Load(entry, points) != FileCause::kNone) {
      loaded.pop_back();
      continue;
    }
    rows.push_back({BackupStampText(entry.stamp), points.CountPoints(), DiffPoints(m_pointFile, points).DifferingPoints()});
  }
  if (rows.empty()) {
    Prompts().ShowMessage(m_hwnd, (m_savePath.empty() ? std::string("開いているファイル") : m_filePath) +
                                      "のバックアップはありません。");
    return;
  }
  RestoreBackupDialog dialog(m_hwnd, std::move(rows));
  if (dialog.DoModal() != IDOK) return;
  ReplacePoints(loaded[dialog.Chosen()]);
}

bool MainDialog::ConfirmClose() {
  if (!m_pointFile.IsModified()) return true;
  const std::string question =
      (m_savePath.empty() ? std::string("新規ファイルです。") : m_filePath + "は変更されています。") +
      "保存しますか？";
  switch (Prompts().AskYesNoCancel(m_hwnd, question)) {
    case IDYES:
      if (!m_savePath.empty())
        SavePoints(m_savePath);
      else
        AskSaveAs();
      // A save that failed (reported already) or a cancelled Save As leaves the changes
      // unsaved: the window stays open with them rather than losing them.
      return !m_pointFile.IsModified();
    case IDNO:
      return true;
    default:
      return false;
  }
}
