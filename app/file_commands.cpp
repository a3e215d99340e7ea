// Open, Save, Save As and the question on closing.
#include "framework/prompts.h"
#include "app/main_dialog.h"

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
  // Status pane 0 follows the chosen path; the other panes stay.
  m_statusBar.SetPaneText(0, m_filePath, SBT_NOBORDERS);
}

void MainDialog::OnFileSaveAs() { AskSaveAs(); }

void MainDialog::SavePoints(const std::string& path) {
  // A save that failed leaves the mark where the disk's content is: undoing back there
  // still makes the file unmodified.
  if (m_pointFile.SavePoints(path, m_fileStore, m_messageSink) == 0) m_history.MarkSaved();
}

void MainDialog::AskSaveAs() {
  const std::optional<std::string> path =
      Prompts().ChooseFile(m_hwnd, PointFileDialog(true, true, m_fileDir));
  if (!path) return;
  m_filePath = *path;
  RememberPath(m_filePath);
  SavePoints(m_savePath);
  // Status pane 0 follows the chosen path; the other panes stay.
  m_statusBar.SetPaneText(0, m_filePath, SBT_NOBORDERS);
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
