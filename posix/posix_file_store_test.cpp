// PosixFileStore against real files in a temporary directory, failures included. A failed
// save must leave the old file whole and nothing else behind.
#include "posix/posix_file_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/testing/recording_message_sink.h"
#include "posix/testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using Names = std::vector<std::string>;

FileCause ReadInto(PosixFileStore& store, const std::string& path, Image& buffer, std::size_t& bytesRead) {
  return store.Read(path, buffer.data(), buffer.size(), bytesRead);
}

FileCause Save(PosixFileStore& store, const std::string& path, const Image& bytes) {
  return store.Replace(path, bytes.data(), bytes.size());
}

TEST(PosixFileStore, ReplacesAFileWithExactlyTheNewBytes) {
  TempDir dir;
  PosixFileStore store;
  const std::string path = dir / "a.pnt";
  EXPECT_EQ(Save(store, path, ImageWithPoints(3)), FileCause::kNone);
  EXPECT_EQ(ReadBytes(path), ImageWithPoints(3));

  const Image shorter(100, 0x5A);
  EXPECT_EQ(Save(store, path, shorter), FileCause::kNone);
  EXPECT_EQ(ReadBytes(path), shorter);
  EXPECT_EQ(dir.Names(), Names{"a.pnt"});
}

TEST(PosixFileStore, KeepsTheModeOfTheFileItReplaces) {
  TempDir dir;
  PosixFileStore store;
  const std::string path = dir / "a.pnt";
  WriteBytes(path, {1, 2, 3});
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(Save(store, path, ImageWithPoints(1)), FileCause::kNone);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A new file gets the usual mode, not the private one of a temporary file.
  const mode_t mask = ::umask(022);
  ASSERT_EQ(Save(store, dir / "new.pnt", ImageWithPoints(1)), FileCause::kNone);
  ::umask(mask);
  EXPECT_EQ(fs::status(dir / "new.pnt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

TEST(PosixFileStore, ReadsAtMostTheCapacity) {
  TempDir dir;
  PosixFileStore store;
  const std::string path = dir / "a.pnt";
  Image content(100);
  for (std::size_t k = 0; k < content.size(); ++k) content[k] = static_cast<std::uint8_t>(k);
  WriteBytes(path, content);

  Image big(kPointFileLength, 0xEE);
  std::size_t bytesRead = 0;
  ASSERT_EQ(ReadInto(store, path, big, bytesRead), FileCause::kNone);
  EXPECT_EQ(bytesRead, 100u);
  EXPECT_TRUE(std::equal(content.begin(), content.end(), big.begin()));
  EXPECT_EQ(big[100], 0xEE);

  Image small(10);
  ASSERT_EQ(ReadInto(store, path, small, bytesRead), FileCause::kNone);
  EXPECT_EQ(bytesRead, 10u);
  EXPECT_TRUE(std::equal(small.begin(), small.end(), content.begin()));
}

TEST(PosixFileStore, ReportsWhyAFileCannotBeRead) {
  TempDir dir;
  PosixFileStore store;
  WriteBytes(dir / "plain", {1});
  fs::create_directory(dir / "sub.pnt");
  Image buffer(16);
  std::size_t bytesRead = 0;
  EXPECT_EQ(ReadInto(store, dir / "missing.pnt", buffer, bytesRead), FileCause::kFileNotFound);
  EXPECT_EQ(ReadInto(store, dir / "plain/a.pnt", buffer, bytesRead), FileCause::kBadPath);
  EXPECT_NE(ReadInto(store, dir / "sub.pnt", buffer, bytesRead), FileCause::kNone);
}

TEST(PosixFileStore, FailedSavesLeaveNothingBehind) {
  TempDir dir;
  PosixFileStore store;
  WriteBytes(dir / "plain", {1});
  fs::create_directory(dir / "sub.pnt");
  const Image image = ImageWithPoints(2);
  EXPECT_EQ(Save(store, dir / "sub.pnt", image), FileCause::kAccessDenied);
  EXPECT_TRUE(fs::is_directory(dir.Path() / "sub.pnt"));
  EXPECT_EQ(Save(store, dir / "no-such-dir/a.pnt", image), FileCause::kFileNotFound);
  EXPECT_EQ(Save(store, dir / "plain/a.pnt", image), FileCause::kBadPath);
  EXPECT_EQ(dir.Names(), (Names{"plain", "sub.pnt"}));
  EXPECT_TRUE(dir.Names("sub.pnt").empty());
}

// A write that fails half way (here: the file size limit, which behaves like a full disk)
// must not cost the user the file that was there.
TEST(PosixFileStore, AWriteThatFailsKeepsTheOldFileWhole) {
  TempDir dir;
  PosixFileStore store;
  const std::string path = dir / "a.pnt";
  const Image old = ImageWithPoints(7);
  WriteBytes(path, old);

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);  // else the kernel ends the process
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileCause cause = Save(store, path, ImageWithPoints(250));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(cause, FileCause::kDiskFull);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(dir.Names(), Names{"a.pnt"});
}

// Runs `action` as an ordinary user: permissions mean nothing to root, who runs the tests
// in CI, so root forks a child that drops to "nobody" first. The result travels back as the
// child's exit status.
int AsUnprivilegedUser(const std::function<int()>& action) {
  if (::geteuid() != 0) return action();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
    ::_exit(action());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST(PosixFileStore, RefusesAReadOnlyFileEvenToRoot) {
  TempDir dir;
  const std::string path = dir / "a.pnt";
  const Image old = ImageWithPoints(3);
  WriteBytes(path, old);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  PosixFileStore store;
  EXPECT_EQ(Save(store, path, ImageWithPoints(5)), FileCause::kAccessDenied);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(dir.Names(), Names{"a.pnt"});
}

TEST(PosixFileStore, SavesThroughASymbolicLink) {
  TempDir dir;
  const Image old = ImageWithPoints(3);
  WriteBytes(dir / "real.pnt", old);
  fs::create_symlink(dir.Path() / "real.pnt", dir.Path() / "link.pnt");
  PosixFileStore store;
  const Image saved = ImageWithPoints(5);
  EXPECT_EQ(Save(store, dir / "link.pnt", saved), FileCause::kNone);
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.pnt"));
  EXPECT_EQ(ReadBytes(dir / "real.pnt"), saved);
}

TEST(PosixFileStore, ReportsAccessDeniedWithoutTouchingTheOldFile) {
  TempDir dir;
  fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::create_directory(dir.Path() / "locked");
  const std::string path = dir / "locked/a.pnt";
  const Image old = ImageWithPoints(3);
  WriteBytes(path, old);
  fs::permissions(path, fs::perms::none);
  fs::permissions(dir.Path() / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                             fs::perms::others_exec);

  const int saveCause = AsUnprivilegedUser([&] {
    PosixFileStore store;
    return static_cast<int>(Save(store, path, ImageWithPoints(5)));
  });
  const int readCause = AsUnprivilegedUser([&] {
    PosixFileStore store;
    Image buffer(16);
    std::size_t bytesRead = 0;
    return static_cast<int>(ReadInto(store, path, buffer, bytesRead));
  });
  EXPECT_EQ(saveCause, static_cast<int>(FileCause::kAccessDenied));
  EXPECT_EQ(readCause, static_cast<int>(FileCause::kAccessDenied));
  fs::permissions(path, fs::perms::owner_read);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(dir.Names("locked"), Names{"a.pnt"});
}

TEST(PosixFileStore, TakesShiftJisPathsAndRefusesMalformedOnes) {
  TempDir dir;
  PosixFileStore store;
  const std::string sjis = dir / "東京.pnt";  // Shift_JIS in the binary
  ASSERT_EQ(Save(store, sjis, ImageWithPoints(1)), FileCause::kNone);
  EXPECT_TRUE(fs::exists(dir.Path() / u8"東京.pnt"));  // the system's own (UTF-8) name
  Image buffer(kPointFileLength);
  std::size_t bytesRead = 0;
  EXPECT_EQ(ReadInto(store, sjis, buffer, bytesRead), FileCause::kNone);
  EXPECT_EQ(buffer, ImageWithPoints(1));

  const std::string malformed = dir / "a\x81.pnt";  // a lead byte whose trail byte is '.'
  EXPECT_EQ(Save(store, malformed, ImageWithPoints(1)), FileCause::kBadPath);
  EXPECT_EQ(ReadInto(store, malformed, buffer, bytesRead), FileCause::kBadPath);
  EXPECT_EQ(dir.Names().size(), 1u);
}

TEST(PosixFileStore, MapsTheCommonErrorsToTheirCauses) {
  EXPECT_EQ(PosixFileStore::CauseFromErrno(0), FileCause::kNone);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(ENOENT), FileCause::kFileNotFound);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(EACCES), FileCause::kAccessDenied);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(EROFS), FileCause::kAccessDenied);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(ENOSPC), FileCause::kDiskFull);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(EMFILE), FileCause::kTooManyOpenFiles);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(EIO), FileCause::kHardIO);
  EXPECT_EQ(PosixFileStore::CauseFromErrno(EPROTO), FileCause::kGeneric);
}

TEST(PosixFileStore, CarriesAPointFileToDiskAndBack) {
  TempDir dir;
  PosixFileStore store;
  RecordingMessageSink sink;
  PointFile file;
  file.InsertRecord(0);
  file.SetNickname(0, "nick");
  const std::string path = dir / "points.PNT";
  ASSERT_EQ(file.SavePoints(path, store, sink), 0);
  EXPECT_EQ(fs::file_size(path), kPointFileLength);

  PointFile again;
  ASSERT_TRUE(again.LoadFile(path, store, sink).Loaded());
  EXPECT_EQ(ImageOf(again), ImageOf(file));
  EXPECT_TRUE(sink.texts.empty());

  EXPECT_EQ(again.LoadFile(dir / "missing.pnt", store, sink).cause, FileCause::kFileNotFound);
  EXPECT_EQ(sink.texts, Names{"\"" + (dir / "missing.pnt") + "\"\n\nファイル未定義"});
}

}  // namespace
