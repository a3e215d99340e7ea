// Backups on save and the restore from them (an undoable change), with the backup folder in
// memory.
#include "app/tests/editing_fixture.h"
#include "framework/controls.h"
#include "pointfile/point_backups.h"

namespace {

const PointTyping kPoint{"Osaka", "", "", "", "135/30/00.000", "34/40/00.000", "", -1};

class BackupRestoreTest : public EditingTest {
 protected:
  static std::vector<unsigned char> BytesOf(const PointFile& file) {
    return std::vector<unsigned char>(file.Image().begin(), file.Image().end());
  }
  std::vector<BackupEntry> BackupsOf(const std::string& path) { return PointBackups(backups).List(path); }

  // Runs the restore command; the dialog's rows are read and row `choose` is restored
  // (-1: the dialog is cancelled).
  std::vector<std::vector<std::string>> Restore(int choose) {
    std::vector<std::vector<std::string>> rows;
    ScopedDialogInitHook hook(IDD_RESTORE_BACKUP, [&](Dialog& d) {
      ListView list(d.Item(IDC_BACKUP_LIST));
      for (int i = 0; i < list.GetItemCount(); ++i)
        rows.push_back({list.GetItemText(i, 0), list.GetItemText(i, 1), list.GetItemText(i, 2)});
      if (choose >= 0) list.SetItemState(choose, LVIS_SELECTED, LVIS_SELECTED);
      d.PostCommand(choose >= 0 ? IDOK : IDCANCEL);
    });
    Command(IDM_FILE_RESTORE_BACKUP);
    return rows;
  }
};

TEST_F(BackupRestoreTest, EverySaveKeepsTheReplacedFileAndARestoreIsAChangeUntilSaved) {
  const PointFile original = NumberedPoints(3);
  const std::string path = OpenFile(original);
  Restore(-1);  // no backups yet: a message, no dialog
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{path + "のバックアップはありません。"});

  AddPointAs(kPoint);
  Command(ID_FILE_SAVE);
  const std::vector<unsigned char> fourPoints = ReadFileBytes(path);
  AddPointAs(kPoint);
  Command(ID_FILE_SAVE);
  const std::vector<BackupEntry> kept = BackupsOf(path);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(backups.Files().at(kept[0].name), fourPoints);  // newest first
  EXPECT_EQ(backups.Files().at(kept[1].name), BytesOf(original));

  // Cancelled: nothing changes.
  const std::vector<unsigned char> saved = ReadFileBytes(path);
  EXPECT_EQ(Restore(-1).size(), 2u);
  EXPECT_EQ(BytesOf(Points()), saved);
  EXPECT_FALSE(Points().IsModified());

  // The rows: time, point count, points that differ from the open file (five points now).
  const auto rows = Restore(1);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], BackupStampText(kept[0].stamp));
  EXPECT_EQ(rows[0][1], "4");
  EXPECT_EQ(rows[0][2], "1");
  EXPECT_EQ(rows[1][1], "3");
  EXPECT_EQ(rows[1][2], "2");
  // The original is back in the window, as an unsaved change; the file on disk is untouched.
  EXPECT_EQ(BytesOf(Points()), BytesOf(original));
  EXPECT_TRUE(Points().IsModified());
  EXPECT_EQ(RowNames(), (std::vector<std::string>{"P00", "P01", "P02"}));
  EXPECT_EQ(window.Status().PaneText(2), "地点登録数  3");
  ExpectListMatchesTable();
  EXPECT_EQ(ReadFileBytes(path), saved);
  // One change, undone and redone as one.
  Command(ID_EDIT_UNDO);
  EXPECT_EQ(BytesOf(Points()), saved);
  EXPECT_FALSE(Points().IsModified());
  Command(ID_EDIT_REDO);
  EXPECT_EQ(BytesOf(Points()), BytesOf(original));
  EXPECT_TRUE(Points().IsModified());
  ExpectListMatchesTable();
  Command(ID_FILE_SAVE);
  EXPECT_EQ(ReadFileBytes(path), BytesOf(original));
  EXPECT_EQ(BackupsOf(path).size(), 3u);
  EXPECT_EQ(prompts.Unexpected(), 0);
}

TEST_F(BackupRestoreTest, ABackupThatCannotBeWrittenIsAskedAboutBeforeSaving) {
  const std::string path = OpenFile(NumberedPoints(3));
  const std::vector<unsigned char> before = ReadFileBytes(path);
  AddPointAs(kPoint);
  backups.FailWritesWith(FileCause::kDiskFull);

  prompts.QueueAnswer(IDNO);  // not without a backup: nothing written, still modified
  Command(ID_FILE_SAVE);
  ASSERT_EQ(prompts.Questions().size(), 1u);
  EXPECT_EQ(prompts.Questions()[0],
            "\"" + path + "\"\n\nのバックアップを作成できませんでした。\nディスク フル\n\nバックアップなしで保存しますか？");
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_TRUE(Points().IsModified());

  // Closing asks to save; the backup question's No keeps the window open with the changes.
  prompts.QueueAnswer(IDYES);
  prompts.QueueAnswer(IDNO);
  EXPECT_FALSE(window.ConfirmClose());
  EXPECT_EQ(ReadFileBytes(path), before);

  prompts.QueueAnswer(IDYES);  // save without a backup
  Command(ID_FILE_SAVE);
  EXPECT_EQ(ReadFileBytes(path), BytesOf(Points()));
  EXPECT_FALSE(Points().IsModified());
  EXPECT_TRUE(backups.Files().empty());
  EXPECT_EQ(prompts.Unexpected(), 0);
}

}  // namespace
