// Open, Save, Save As and the question on closing, with the file dialogs and boxes scripted.
#include "app/tests/editing_fixture.h"

namespace {

const PointTyping kPoint{"Osaka", "", "", "", "135/30/00.000", "34/40/00.000", "", -1};

class FileCommandsTest : public EditingTest {
 protected:
  void AddPoint() { AddPointAs(kPoint); }
  std::vector<unsigned char> Bytes() const {
    const auto& image = const_cast<FileCommandsTest*>(this)->Points().Image();
    return std::vector<unsigned char>(image.begin(), image.end());
  }
};

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileFromTheLastDirectory) {
  const std::string first = OpenFile(NumberedPoints(2), "first.pnt");
  const std::string second = dir.File("second.pnt");
  const PointFile points = NumberedPoints(5);
  WriteFileBytes(second, std::vector<unsigned char>(points.Image().begin(), points.Image().end()));
  prompts.QueueFile(second);
  Command(ID_FILE_OPEN);
  ASSERT_EQ(prompts.FileDialogs().size(), 1u);
  const FileDialogRequest request = prompts.FileDialogs()[0];
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.filter, "PNT ファイル(*.pnt)|*.pnt|すべてのファイル (*.*)|*.*||");
  EXPECT_EQ(request.defaultExtension, "pnt");
  EXPECT_EQ(request.fileName, "");
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_EQ(request.initialDirectory, dir.Path());
  EXPECT_EQ(List().GetItemCount(), 5);
  EXPECT_EQ(window.FilePath(), second);
  EXPECT_EQ(window.SavePath(), second);

  prompts.QueueFile(std::nullopt);  // cancelled: nothing changes
  Command(ID_FILE_OPEN);
  EXPECT_EQ(window.FilePath(), second);
  EXPECT_EQ(List().GetItemCount(), 5);
}

TEST_F(FileCommandsTest, SaveWritesBackToTheOpenedFileOnlyWhenChanged) {
  const std::string path = OpenFile(NumberedPoints(3));
  ::DeleteFileW(std::wstring(path.begin(), path.end()).c_str());
  Command(ID_FILE_SAVE);
  EXPECT_FALSE(FileExists(path));  // nothing changed: nothing written, no dialog
  EXPECT_TRUE(prompts.FileDialogs().empty());

  AddPoint();
  Command(ID_FILE_SAVE);
  EXPECT_TRUE(prompts.FileDialogs().empty());
  EXPECT_EQ(ReadFileBytes(path), Bytes());
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(FileCommandsTest, SaveAsksForANameWhenTheFileIsNoPointFile) {
  OpenFile(NumberedPoints(3), "points.dat");  // refused for its extension
  prompts.Clear();
  AddPoint();
  const std::string chosen = dir.File("saved.pnt");
  prompts.QueueFile(chosen);
  Command(ID_FILE_SAVE);
  ASSERT_EQ(prompts.FileDialogs().size(), 1u);
  const FileDialogRequest request = prompts.FileDialogs()[0];
  EXPECT_TRUE(request.save);
  EXPECT_FALSE(request.overwritePrompt);
  EXPECT_EQ(request.filter, "PNT ファイル (*.pnt)|*.pnt|すべてのファイル (*.*)|*.*||");
  EXPECT_EQ(request.initialDirectory, dir.Path());
  EXPECT_EQ(ReadFileBytes(chosen), Bytes());
  EXPECT_EQ(window.SavePath(), chosen);
  EXPECT_EQ(window.Status().PaneText(0), chosen);
}

TEST_F(FileCommandsTest, SaveAsAlwaysAsksAndAsksBeforeOverwriting) {
  OpenFile(NumberedPoints(3));
  const std::string copy = dir.File("copy.pnt");
  prompts.QueueFile(copy);
  Command(ID_FILE_SAVE_AS);
  ASSERT_EQ(prompts.FileDialogs().size(), 1u);
  EXPECT_TRUE(prompts.FileDialogs()[0].overwritePrompt);
  EXPECT_EQ(ReadFileBytes(copy), Bytes());
  EXPECT_EQ(window.FilePath(), copy);
}

TEST_F(FileCommandsTest, AFileWithoutPointsSavesAsTheEmptyPointFile) {
  OpenFile(NumberedPoints(1));
  SelectRows({0});
  Command(IDC_DELETE_POINT);
  const std::string path = dir.File("empty.pnt");
  prompts.QueueFile(path);
  Command(ID_FILE_SAVE_AS);
  const PointFile empty;
  EXPECT_EQ(ReadFileBytes(path), std::vector<unsigned char>(empty.Image().begin(), empty.Image().end()));
  EXPECT_FALSE(Points().IsModified());
}

TEST_F(FileCommandsTest, ClosingUnchangedAsksNothing) {
  OpenFile(NumberedPoints(2));
  Command(IDCANCEL);
  EXPECT_FALSE(window.IsWindow());
  EXPECT_TRUE(prompts.Questions().empty());
}

TEST_F(FileCommandsTest, ClosingWithChangesAsksAndCancelKeepsEverything) {
  const std::string path = OpenFile(NumberedPoints(2));
  AddPoint();
  prompts.QueueAnswer(IDCANCEL);
  Command(IDCANCEL);
  EXPECT_EQ(prompts.Questions(), std::vector<std::string>{path + "は変更されています。保存しますか？"});
  EXPECT_TRUE(window.IsWindow());
  EXPECT_EQ(Points().GetPointCount(), 3);

  prompts.QueueAnswer(IDYES);
  Command(IDCANCEL);
  EXPECT_FALSE(window.IsWindow());
  EXPECT_EQ(ReadFileBytes(path).size(), 64048u);
  EXPECT_EQ(ReadFileBytes(path), Bytes());
}

TEST_F(FileCommandsTest, ClosingANewFileSaysSoAndNoDropsTheChanges) {
  AddPoint();
  prompts.QueueAnswer(IDNO);
  Command(IDCANCEL);
  EXPECT_EQ(prompts.Questions(), std::vector<std::string>{"新規ファイルです。保存しますか？"});
  EXPECT_TRUE(prompts.FileDialogs().empty());
  EXPECT_FALSE(window.IsWindow());
}

TEST_F(FileCommandsTest, YesWithACancelledSaveAsKeepsTheWindowAndTheChanges) {
  AddPoint();
  prompts.QueueAnswer(IDYES);
  prompts.QueueFile(std::nullopt);
  Command(IDCANCEL);
  EXPECT_EQ(prompts.FileDialogs().size(), 1u);
  EXPECT_TRUE(window.IsWindow());
  EXPECT_TRUE(Points().IsModified());
  EXPECT_EQ(Points().GetPointCount(), 1);

  // Asked again, the user picks a name: saved, and the window closes.
  const std::string path = dir.File("new.pnt");
  prompts.QueueAnswer(IDYES);
  prompts.QueueFile(path);
  Command(IDCANCEL);
  EXPECT_FALSE(window.IsWindow());
  EXPECT_EQ(ReadFileBytes(path).size(), 64048u);
}

TEST_F(FileCommandsTest, YesWithAFailedSaveKeepsTheWindowAndTheChanges) {
  OpenFile(NumberedPoints(2));
  // The file's directory goes away under the program: the save must fail.
  const std::string gone = dir.File("gone\\points.pnt");
  prompts.QueueFile(gone);
  Command(ID_FILE_SAVE_AS);  // fails too, and says so
  ASSERT_EQ(window.SavePath(), gone);
  AddPoint();
  prompts.Clear();
  prompts.QueueAnswer(IDYES);
  Command(IDCANCEL);
  EXPECT_EQ(prompts.Messages().size(), 1u);  // the save's own error message
  EXPECT_TRUE(window.IsWindow());
  EXPECT_TRUE(Points().IsModified());
  EXPECT_EQ(Points().GetPointCount(), 3);
}

}  // namespace
