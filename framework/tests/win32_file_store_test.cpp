#include "framework/win32_file_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"

namespace {

std::vector<unsigned char> Bytes(size_t n, unsigned char seed) {
  std::vector<unsigned char> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<unsigned char>(seed + i * 7);
  return v;
}

}  // namespace

TEST(Win32FileStore, ReadsWholeAndShortFiles) {
  TempDirectory dir;
  Win32FileStore store;
  const std::string path = dir.File("表ソ.pnt");  // 0x5C trail bytes in the name
  ASSERT_TRUE(WriteFileBytes(path, Bytes(100, 1)));

  std::vector<std::uint8_t> buffer(64048, 0xEE);
  size_t got = 0;
  EXPECT_EQ(store.Read(path, buffer.data(), buffer.size(), got), FileCause::kNone);
  EXPECT_EQ(got, 100u);
  EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + 100), Bytes(100, 1));

  // Longer than the buffer: exactly the buffer is read.
  ASSERT_TRUE(WriteFileBytes(path, Bytes(70000, 3)));
  EXPECT_EQ(store.Read(path, buffer.data(), buffer.size(), got), FileCause::kNone);
  EXPECT_EQ(got, 64048u);
}

TEST(Win32FileStore, ReportsWhyAReadFailed) {
  TempDirectory dir;
  Win32FileStore store;
  std::uint8_t buffer[16];
  size_t got = 0;
  EXPECT_EQ(store.Read(dir.File("missing.pnt"), buffer, sizeof buffer, got), FileCause::kFileNotFound);
  EXPECT_EQ(store.Read(dir.File("no\\such\\dir.pnt"), buffer, sizeof buffer, got), FileCause::kBadPath);
  EXPECT_EQ(store.Read("", buffer, sizeof buffer, got), FileCause::kBadPath);

  // Held open for writing by someone else.
  const std::string busy = dir.File("busy.pnt");
  HANDLE holder = ::CreateFileW(WidenText(busy).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(store.Read(busy, buffer, sizeof buffer, got), FileCause::kSharingViolation);
  ::CloseHandle(holder);
}

TEST(Win32FileStore, ReplaceCreatesAndOverwritesExactly) {
  TempDirectory dir;
  Win32FileStore store;
  const std::string path = dir.File("地点.pnt");
  const auto first = Bytes(64048, 5);
  ASSERT_EQ(store.Replace(path, first.data(), first.size()), FileCause::kNone);
  EXPECT_EQ(ReadFileBytes(path), first);

  const auto second = Bytes(64048, 9);
  ASSERT_EQ(store.Replace(path, second.data(), second.size()), FileCause::kNone);
  EXPECT_EQ(ReadFileBytes(path), second);
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"地点.pnt"});
}

TEST(Win32FileStore, AFailedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile) {
  TempDirectory dir;
  Win32FileStore store;
  const std::string path = dir.File("locked.pnt");
  const auto old = Bytes(64048, 2);
  ASSERT_TRUE(WriteFileBytes(path, old));
  ASSERT_TRUE(::SetFileAttributesW(WidenText(path).c_str(), FILE_ATTRIBUTE_READONLY));

  const auto fresh = Bytes(64048, 4);
  EXPECT_EQ(store.Replace(path, fresh.data(), fresh.size()), FileCause::kAccessDenied);
  EXPECT_EQ(ReadFileBytes(path), old);
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"locked.pnt"});
  ::SetFileAttributesW(WidenText(path).c_str(), FILE_ATTRIBUTE_NORMAL);

  // A directory in the target's place, a missing directory, and no name at all.
  ASSERT_TRUE(::CreateDirectoryW(WidenText(dir.File("sub")).c_str(), nullptr));
  EXPECT_EQ(store.Replace(dir.File("sub"), fresh.data(), fresh.size()), FileCause::kAccessDenied);
  EXPECT_EQ(store.Replace(dir.File("none\\x.pnt"), fresh.data(), fresh.size()), FileCause::kBadPath);
  EXPECT_EQ(store.Replace("", fresh.data(), fresh.size()), FileCause::kBadPath);
  EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"locked.pnt", "sub"}));
}

TEST(Win32FileStore, MapsWin32ErrorsOntoTheCoreCauses) {
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_SUCCESS), FileCause::kNone);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_FILE_NOT_FOUND), FileCause::kFileNotFound);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_PATH_NOT_FOUND), FileCause::kBadPath);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_ACCESS_DENIED), FileCause::kAccessDenied);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_SHARING_VIOLATION), FileCause::kSharingViolation);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_LOCK_VIOLATION), FileCause::kLockViolation);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_DISK_FULL), FileCause::kDiskFull);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_HANDLE_EOF), FileCause::kEndOfFile);
  EXPECT_EQ(FileCauseFromWin32Error(ERROR_NOT_ENOUGH_MEMORY), FileCause::kGeneric);
}
