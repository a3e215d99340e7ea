// The backup folder on a real file system: created on the first backup, read back, and
// listed without tripping over what else a user may leave in it.
#include "framework/win32_backup_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(Win32BackupFolder, CreatesItsFolderKeepsFilesAndListsOnlyNamesItCanUse) {
  TempDirectory dir;
  // The folder two levels below one that exists, as Ostrel\Backups below a fresh profile; its
  // path holds a character code page 932 does not, as a user's profile folder may.
  const std::wstring profile = dir.WidePath() + L"\uAC00";
  Win32BackupFolder folder(profile + L"\\Ostrel\\Backups");
  std::vector<std::string> names{"stale"};
  EXPECT_EQ(folder.List(names), FileCause::kNone);  // not created yet: empty
  EXPECT_TRUE(names.empty());

  const std::uint8_t bytes[] = {1, 2, 3, 0x5C};
  ASSERT_EQ(folder.Write("東京表.1A2B3C4D.20261209-113425.pnt", bytes, sizeof bytes), FileCause::kNone);
  ASSERT_EQ(folder.Write("a.pnt", bytes, 2), FileCause::kNone);
  EXPECT_EQ(folder.Write("a.pnt", bytes, 1), FileCause::kAccessDenied);  // never replaced
  // What else may lie there: a folder, and a file whose name code page 932 cannot hold.
  ASSERT_TRUE(::CreateDirectoryW((folder.Directory() + L"\\sub.pnt").c_str(), nullptr));
  const HANDLE odd = ::CreateFileW((folder.Directory() + L"\\\uAC00.pnt").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(odd, INVALID_HANDLE_VALUE);
  ::CloseHandle(odd);

  ASSERT_EQ(folder.List(names), FileCause::kNone);
  EXPECT_EQ(Sorted(names), Sorted({"東京表.1A2B3C4D.20261209-113425.pnt", "a.pnt"}));
  std::uint8_t buffer[16] = {};
  std::size_t got = 0;
  ASSERT_EQ(folder.Read("東京表.1A2B3C4D.20261209-113425.pnt", buffer, sizeof buffer, got), FileCause::kNone);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + got), std::vector<std::uint8_t>(bytes, bytes + sizeof bytes));
  EXPECT_EQ(folder.Remove("a.pnt"), FileCause::kNone);
  EXPECT_EQ(folder.Read("a.pnt", buffer, sizeof buffer, got), FileCause::kFileNotFound);
}

TEST(Win32BackupFolder, AFolderThatCannotBeCreatedFailsTheWrite) {
  TempDirectory dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("Ostrel"), {1}));  // a file where the folder belongs
  Win32BackupFolder folder(dir.WidePath() + L"Ostrel\\Backups");
  const std::uint8_t bytes[] = {1};
  EXPECT_NE(folder.Write("a.pnt", bytes, 1), FileCause::kNone);
  Win32BackupFolder nowhere(L"");
  EXPECT_EQ(nowhere.Write("a.pnt", bytes, 1), FileCause::kBadPath);
  EXPECT_TRUE(::GetFileAttributesW((dir.WidePath() + L"Ostrel").c_str()) != INVALID_FILE_ATTRIBUTES);
}
