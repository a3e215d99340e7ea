// Backups of replaced point files: their names, how many are kept, what is never touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pointfile/point_backups.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/memory_backup_folder.h"
#include "pointfile/testing/point_images.h"

namespace {

BackupStamp At(int minute, int second) { return {2026, 12, 9, 11, minute, second}; }

TEST(BackupNames, TellFilesApartByTheirWholePath) {
  struct Case {
    std::string a, b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\car1\\points.pnt", "D:\\car2\\points.pnt", false},
      {"C:\\car1\\points.pnt", "c:/CAR1/Points.PNT", true},  // one file on Windows
      {"C:\\表\\points.pnt", "C:\\\x95\x7C\\points.pnt", false},  // trail bytes are not folded
  };
  for (const Case& c : cases) {
    MemoryBackupFolder folder;
    PointBackups backups(folder);
    const std::uint8_t content[] = {7};
    ASSERT_EQ(backups.Keep(c.a, content, 1, At(0, 0)), FileCause::kNone);
    EXPECT_EQ(backups.List(c.b).size(), c.same ? 1u : 0u) << c.a << " / " << c.b;
  }
  const std::string prefix = BackupNamePrefix("C:\\表示\\東京.pnt");
  EXPECT_EQ(prefix.substr(0, 5), "東京.");
  EXPECT_EQ(prefix.size(), 5u + 8 + 1);
  // A long name is cut, never inside a character.
  std::string kana;
  for (int i = 0; i < 40; ++i) kana += "あ";
  const std::string cut = BackupNamePrefix("C:\\" + kana + ".pnt");
  EXPECT_EQ(cut.substr(0, cut.find('.')), kana.substr(0, 64));
}

TEST(PointBackups, KeepTheNewestTwentyPerPathAndLeaveOddFilesAlone) {
  MemoryBackupFolder folder;
  PointBackups backups(folder);
  const std::string path = "C:\\car\\points.pnt";
  const std::string other = "C:\\other\\points.pnt";
  const std::string prefix = BackupNamePrefix(path);
  const std::vector<std::string> odd = {"notes.txt", prefix + "20261301-000000.pnt", prefix + "garbage.pnt",
                                        prefix + "20261209-110000-1.pnt", prefix + "20261209-110000.pnt.tmp"};
  for (const std::string& name : odd) folder.Put(name, {1, 2, 3});
  const std::uint8_t content[] = {7};
  ASSERT_EQ(backups.Keep(other, content, 1, At(0, 0)), FileCause::kNone);
  for (int n = 0; n < 25; ++n) ASSERT_EQ(backups.Keep(path, content, 1, At(1, n)), FileCause::kNone);
  // Two more in one second: numbered on, and listed newest first.
  ASSERT_EQ(backups.Keep(path, content, 1, At(1, 24)), FileCause::kNone);
  ASSERT_EQ(backups.Keep(path, content, 1, At(1, 24)), FileCause::kNone);

  const std::vector<BackupEntry> entries = backups.List(path);
  ASSERT_EQ(entries.size(), 20u);
  EXPECT_EQ(entries[0].name, prefix + "20261209-110124-3.pnt");
  EXPECT_EQ(entries[1].name, prefix + "20261209-110124-2.pnt");
  EXPECT_EQ(entries[2].name, prefix + "20261209-110124.pnt");
  EXPECT_EQ(entries[19].name, prefix + "20261209-110107.pnt");
  EXPECT_EQ(BackupStampText(entries[0].stamp), "2026/12/09 11:01:24");
  for (const std::string& name : odd) EXPECT_EQ(folder.Files().count(name), 1u) << name;
  EXPECT_EQ(backups.List(other).size(), 1u);
  EXPECT_EQ(folder.Files().size(), 20u + 1 + odd.size());
}

TEST(PointBackups, KeepTheReplacedFileOrSayWhyNot) {
  MemoryBackupFolder folder;
  PointBackups backups(folder);
  MemoryFileStore store;
  const std::string path = "C:\\car\\points.pnt";
  // No file yet: nothing is replaced, nothing kept.
  EXPECT_EQ(backups.KeepFileOf(path, store, At(0, 0)), FileCause::kNone);
  EXPECT_TRUE(folder.Files().empty());

  const Image image = ImageWithPoints(3);
  store.Put(path, image);
  ASSERT_EQ(backups.KeepFileOf(path, store, At(0, 1)), FileCause::kNone);
  const std::vector<BackupEntry> entries = backups.List(path);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(folder.Files().at(entries[0].name), image);
  PointFile restored;
  ASSERT_EQ(backups.Load(entries[0], restored), FileCause::kNone);
  EXPECT_EQ(ImageOf(restored), image);
  EXPECT_EQ(restored.GetPointCount(), 3);
  EXPECT_FALSE(restored.IsModified());

  folder.FailWritesWith(FileCause::kDiskFull);
  EXPECT_EQ(backups.KeepFileOf(path, store, At(0, 2)), FileCause::kDiskFull);
  folder.FailWritesWith(FileCause::kNone);
  store.FailReadsWith(FileCause::kSharingViolation);
  EXPECT_EQ(backups.KeepFileOf(path, store, At(0, 3)), FileCause::kSharingViolation);
  EXPECT_EQ(backups.List(path).size(), 1u);

  // A backup that holds no point file is not loaded over anything.
  folder.Put(BackupNamePrefix(path) + "20261209-120000.pnt", {'x', 'y'});
  EXPECT_EQ(backups.Load(backups.List(path)[0], restored), FileCause::kInvalidFile);
  EXPECT_EQ(restored.GetPointCount(), 0);
}

}  // namespace
