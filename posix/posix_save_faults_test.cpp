// Saves that fail or stop at every system call they make. Whatever goes wrong, the file on
// disk is the old one or the new one, never a mixture or nothing; a failure the store saw
// leaves no temporary file and reaches the user as its cause.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/testing/recording_message_sink.h"
#include "posix/posix_file_store.h"
#include "posix/testing/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

// The real system, except that it counts the calls, writes at most kWriteChunk bytes a call
// (so that a save makes several writes, each a step of its own), and fails or stops at one
// chosen call.
class FaultySystem : public PosixSystem {
 public:
  static constexpr std::size_t kWriteChunk = 16384;
  static constexpr int kStoppedStatus = 42;

  void FailAt(int step, int error) { m_failAt = step, m_error = error; }
  void FailUnlink() { m_failUnlink = true; }
  void StopAt(int step) { m_stopAt = step; }
  const Names& Steps() const { return m_steps; }

  int Open(const char* path, int flags) override { return Go("open") ? PosixSystem::Open(path, flags) : -1; }
  int SetFlags(int fd, int flags) override { return Go("fcntl") ? PosixSystem::SetFlags(fd, flags) : -1; }
  ssize_t Read(int fd, void* buffer, size_t size) override {
    return Go("read") ? PosixSystem::Read(fd, buffer, std::min(size, kWriteChunk)) : -1;
  }
  ssize_t Write(int fd, const void* data, size_t size) override {
    return Go("write") ? PosixSystem::Write(fd, data, std::min(size, kWriteChunk)) : -1;
  }
  int Stat(const char* path, struct stat* info) override { return Go("stat") ? PosixSystem::Stat(path, info) : -1; }
  int Fstat(int fd, struct stat* info) override { return Go("fstat") ? PosixSystem::Fstat(fd, info) : -1; }
  char* RealPath(const char* path) override { return Go("realpath") ? PosixSystem::RealPath(path) : nullptr; }
  int MakeTemporary(char* pattern) override { return Go("mkstemp") ? PosixSystem::MakeTemporary(pattern) : -1; }
  int Fchmod(int fd, mode_t mode) override { return Go("fchmod") ? PosixSystem::Fchmod(fd, mode) : -1; }
  int Fsync(int fd) override { return Go("fsync") ? PosixSystem::Fsync(fd) : -1; }
  int Close(int fd) override {
    // Like the real close, a failing one still releases the descriptor.
    const bool go = Go("close");
    const int result = PosixSystem::Close(fd);
    return go ? result : -1;
  }
  int Rename(const char* from, const char* to) override {
    return Go("rename") ? PosixSystem::Rename(from, to) : -1;
  }
  int Unlink(const char* path) override {
    if (m_failUnlink) {
      m_steps.push_back("unlink");
      errno = EACCES;
      return -1;
    }
    return Go("unlink") ? PosixSystem::Unlink(path) : -1;
  }

 private:
  // Counts the call; false (with errno set) when it is the one to fail. The one to stop at
  // ends the process at once, as a crash or a power cut would: nothing is cleaned up.
  bool Go(const char* name) {
    m_steps.push_back(name);
    const int step = static_cast<int>(m_steps.size());
    if (step == m_stopAt) ::_exit(kStoppedStatus);
    if (step != m_failAt) return true;
    errno = m_error;
    return false;
  }

  Names m_steps;
  int m_failAt = 0;
  int m_error = 0;
  int m_stopAt = 0;
  bool m_failUnlink = false;
};

// The error a call fails with: what that call meets most often in the field.
int TypicalError(const std::string& step) {
  if (step == "write") return ENOSPC;
  if (step == "fsync" || step == "close" || step == "read") return EIO;
  if (step == "mkstemp" || step == "rename") return EACCES;
  return EIO;
}

class SaveFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = m_dir / "points.pnt";
    WriteBytes(m_path, m_old);
  }

  // A save of the new image through `system`, as the editor makes it.
  int SaveThrough(FaultySystem& system, RecordingMessageSink& sink) {
    PosixFileStore store(system);
    PointFile file = Loaded(m_new);
    return file.SaveFile(m_path, store, sink);
  }

  // The steps of a save that goes through.
  Names StepsOfASave() {
    FaultySystem counting;
    RecordingMessageSink sink;
    EXPECT_EQ(SaveThrough(counting, sink), 0);
    EXPECT_EQ(ReadBytes(m_path), m_new);
    WriteBytes(m_path, m_old);
    return counting.Steps();
  }

  void ExpectOnlyTheTarget(const std::string& context) {
    EXPECT_EQ(m_dir.Names(), Names{"points.pnt"}) << context;
  }

  TempDir m_dir;
  std::string m_path;
  const Image m_old = ImageWithPoints(7);
  const Image m_new = ImageWithPoints(250);
  int m_faults = 0;
};

TEST_F(SaveFaults, AFailureAtAnyStepKeepsTheOldFileOrWritesTheNewOneAndTellsWhy) {
  const Names steps = StepsOfASave();
  ASSERT_GE(steps.size(), 12u);  // stat, realpath, mkstemp, 4 writes, fchmod, fsync, fstat, close, rename ...
  const auto rename = std::find(steps.begin(), steps.end(), "rename") - steps.begin();
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const std::string context = "failing step " + std::to_string(k + 1) + ", " + steps[k];
    SCOPED_TRACE(context);
    for (const bool unlinkFails : {false, true}) {
      WriteBytes(m_path, m_old);
      FaultySystem system;
      system.FailAt(static_cast<int>(k + 1), TypicalError(steps[k]));
      if (unlinkFails) system.FailUnlink();
      RecordingMessageSink sink;
      const int result = SaveThrough(system, sink);
      ++m_faults;
      const Image onDisk = ReadBytes(m_path);
      ASSERT_TRUE(onDisk == m_old || onDisk == m_new);
      if (static_cast<std::ptrdiff_t>(k) > rename || steps[k] == "stat" || steps[k] == "realpath") {
        // After the rename the new file is in place; syncing its directory is a courtesy.
        // Without stat or realpath the save goes on with what it knows.
        EXPECT_EQ(result, 0);
        EXPECT_EQ(onDisk, m_new);
        EXPECT_TRUE(sink.texts.empty());
        ExpectOnlyTheTarget(context);
        break;  // no clean-up happens, so there is nothing for it to fail
      }
      EXPECT_EQ(result, -1);
      EXPECT_EQ(onDisk, m_old);
      const FileCause cause = PosixFileStore::CauseFromErrno(TypicalError(steps[k]));
      EXPECT_EQ(sink.texts, Names{"\"" + m_path + "\"\n\n" + FileCauseText(static_cast<int>(cause))});
      if (!unlinkFails || steps[k] == "mkstemp") {
        ExpectOnlyTheTarget(context);
      } else {
        // The clean-up failed as well: the temporary file stays, named after the target.
        ASSERT_EQ(m_dir.Names().size(), 2u);
        EXPECT_EQ(m_dir.Names()[1].rfind("points.pnt.saving-", 0), 0u);
        std::filesystem::remove(m_dir.Path() / m_dir.Names()[1]);
      }
    }
  }
  std::printf("[ faults ] %d failures injected into POSIX saves, 0 partial or lost files\n", m_faults);
}

TEST_F(SaveFaults, AStopAtAnyStepLeavesTheOldFileOrTheNewOneWhole) {
  const Names steps = StepsOfASave();
  bool sawOld = false, sawNew = false;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    SCOPED_TRACE("stopping before step " + std::to_string(k + 1) + ", " + steps[k]);
    WriteBytes(m_path, m_old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FaultySystem system;
      system.StopAt(static_cast<int>(k + 1));
      RecordingMessageSink sink;
      SaveThrough(system, sink);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), FaultySystem::kStoppedStatus);
    ++m_faults;
    const Image onDisk = ReadBytes(m_path);
    ASSERT_TRUE(onDisk == m_old || onDisk == m_new);
    (onDisk == m_old ? sawOld : sawNew) = true;
    // A stopped save may leave its temporary file; never a second one, never in the target's name.
    const Names names = m_dir.Names();
    ASSERT_LE(names.size(), 2u);
    if (names.size() == 2) {
      EXPECT_EQ(names[1].rfind("points.pnt.saving-", 0), 0u);
      std::filesystem::remove(m_dir.Path() / names[1]);
    }
  }
  EXPECT_TRUE(sawOld && sawNew);
  std::printf("[ faults ] %d stops injected into POSIX saves, 0 partial or lost files\n", m_faults);
}

TEST_F(SaveFaults, InterruptedAndShortWritesStillSaveEverything) {
  // A write that is interrupted is made again.
  FaultySystem interrupted;
  interrupted.FailAt(5, EINTR);  // the second write
  RecordingMessageSink sink;
  EXPECT_EQ(SaveThrough(interrupted, sink), 0);
  EXPECT_EQ(interrupted.Steps()[4], "write");
  EXPECT_EQ(ReadBytes(m_path), m_new);
  EXPECT_TRUE(sink.texts.empty());
  ExpectOnlyTheTarget("EINTR");
}

// A write that takes nothing and reports no error would be retried for ever: it counts as
// a full disk.
TEST_F(SaveFaults, AWriteThatTakesNothingIsAFullDiskNotAHang) {
  class NoRoom : public FaultySystem {
   public:
    ssize_t Write(int, const void*, size_t) override { return 0; }
  } system;
  RecordingMessageSink sink;
  EXPECT_EQ(SaveThrough(system, sink), -1);
  EXPECT_EQ(ReadBytes(m_path), m_old);
  EXPECT_EQ(sink.texts, Names{"\"" + m_path + "\"\n\n" + FileCauseText(static_cast<int>(FileCause::kDiskFull))});
  ExpectOnlyTheTarget("write returns 0");
}

TEST_F(SaveFaults, AReadThatFailsAtAnyStepLeavesAnEmptyFileAndTellsWhy) {
  WriteBytes(m_path, m_new);
  Names steps;
  {
    FaultySystem counting;
    PosixFileStore store(counting);
    RecordingMessageSink sink;
    PointFile file;
    ASSERT_TRUE(file.LoadFile(m_path, store, sink).Loaded());
    steps = counting.Steps();
  }
  for (std::size_t k = 0; k < steps.size(); ++k) {
    SCOPED_TRACE("failing step " + std::to_string(k + 1) + ", " + steps[k]);
    FaultySystem system;
    system.FailAt(static_cast<int>(k + 1), TypicalError(steps[k]));
    PosixFileStore store(system);
    RecordingMessageSink sink;
    PointFile file = Loaded(m_old);
    const LoadResult result = file.LoadFile(m_path, store, sink);
    if (steps[k] == "close") {  // everything was read by then
      EXPECT_TRUE(result.Loaded());
      EXPECT_EQ(ImageOf(file), m_new);
      continue;
    }
    EXPECT_EQ(result.Code(), -1);
    EXPECT_EQ(ImageOf(file), EmptyImage());
    EXPECT_EQ(sink.texts.size(), 1u);
  }
  EXPECT_EQ(ReadBytes(m_path), m_new);
}

}  // namespace
