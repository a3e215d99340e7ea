// Saves that fail or stop at every Win32 call they make, and the faults a user's disk
// really has. Whatever goes wrong, the file is the old one or the new one, never a mixture or
// nothing; a failure the store saw leaves no temporary file and reaches the user as its cause.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/testing/faulty_file_calls.h"
#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"
#include "framework/win32_file_store.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/testing/recording_message_sink.h"

namespace {

using Names = std::vector<std::string>;

// The error a call fails with: what that call meets most often in the field.
DWORD TypicalError(const std::string& step) {
  if (step == "WriteFile") return ERROR_DISK_FULL;
  if (step == "FlushFileBuffers" || step == "CloseHandle" || step == "ReadFile") return ERROR_IO_DEVICE;
  if (step == "CreateFile") return ERROR_SHARING_VIOLATION;  // the target held, or no room for a file
  if (step == "ReplaceFile") return ERROR_UNABLE_TO_REMOVE_REPLACED;
  return ERROR_ACCESS_DENIED;
}

std::string CauseMessage(const std::string& path, FileCause cause) {
  return "\"" + path + "\"\n\n" + FileCauseText(static_cast<int>(cause));
}

// Runs save_child (beside this program) with `arguments`; returns its process handle.
HANDLE StartChild(const std::wstring& arguments) {
  std::wstring command = L"\"" + WidenText(ProgramDirectory()) + L"save_child.exe\" " + arguments;
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return nullptr;
  ::CloseHandle(process.hThread);
  return process.hProcess;
}

// Every test counts the faults it injected; the last line of the program sums them up.
int g_faults = 0;

class Win32SaveFaults : public ::testing::Test {
 protected:
  static void TearDownTestSuite() {
    std::printf("[ faults ] %d faults injected into Win32 saves, 0 partial or lost files\n", g_faults);
  }

  void SetUp() override { ASSERT_TRUE(WriteFileBytes(m_path, m_old)); }

  int SaveThrough(Win32FileCalls& calls, RecordingMessageSink& sink) {
    Win32FileStore store(calls);
    return Loaded(m_new).SaveFile(m_path, store, sink);
  }

  Names StepsOfASave() {
    FaultyFileCalls counting;
    RecordingMessageSink sink;
    EXPECT_EQ(SaveThrough(counting, sink), 0);
    EXPECT_EQ(ReadFileBytes(m_path), m_new);
    EXPECT_TRUE(WriteFileBytes(m_path, m_old));
    return counting.Steps();
  }

  // The target holds the old or the new image, and nothing but the target is there.
  void ExpectWholeAndAlone(const Image& expected) {
    ++g_faults;
    EXPECT_EQ(ReadFileBytes(m_path), expected);
    EXPECT_EQ(NamesIn(m_dir.Path()), Names{"points.pnt"});
  }

  TempDirectory m_dir;
  const std::string m_path = m_dir.File("points.pnt");
  const Image m_old = ImageWithPoints(7);
  const Image m_new = ImageWithPoints(250);
};

TEST_F(Win32SaveFaults, AFailureAtAnyStepKeepsTheOldFileAndTellsWhy) {
  const Names steps = StepsOfASave();
  // attributes, opening the target, creating the temporary file, 4 writes, flush, size, close, replace
  ASSERT_GE(steps.size(), 11u);
  const std::size_t created = std::find(steps.begin(), steps.end(), "WriteFile") - steps.begin() - 1;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    SCOPED_TRACE("failing step " + std::to_string(k + 1) + ", " + steps[k]);
    for (const bool removeFails : {false, true}) {
      ASSERT_TRUE(WriteFileBytes(m_path, m_old));
      FaultyFileCalls calls;
      calls.FailAt(static_cast<int>(k + 1), TypicalError(steps[k]));
      if (removeFails) calls.FailRemove();
      RecordingMessageSink sink;
      const int result = SaveThrough(calls, sink);
      if (k == 0 || (steps[k] == "CloseHandle" && k < created)) {
        // Without the target's attributes the save goes on as for a new file; closing the
        // handle that tried whether the target opens for writing has nothing to lose.
        EXPECT_EQ(result, 0);
        ExpectWholeAndAlone(m_new);
        break;
      }
      EXPECT_EQ(result, -1);
      EXPECT_EQ(sink.texts, Names{CauseMessage(m_path, FileCauseFromWin32Error(TypicalError(steps[k])))});
      if (!removeFails || k <= created) {  // no temporary file exists yet
        ExpectWholeAndAlone(m_old);
        continue;
      }
      // The clean-up failed as well: the old file is whole, the temporary file stays.
      ++g_faults;
      EXPECT_EQ(ReadFileBytes(m_path), m_old);
      const Names names = NamesIn(m_dir.Path());
      ASSERT_EQ(names.size(), 2u);
      EXPECT_EQ(names[0].rfind("pnt", 0), 0u);
      ::DeleteFileW(WidenText(m_dir.File(names[0])).c_str());
    }
  }
}

TEST_F(Win32SaveFaults, AStopAtAnyStepLeavesTheOldFileOrTheNewOneWhole) {
  const Names steps = StepsOfASave();
  bool sawOld = false, sawNew = false;
  // Stopping before each step, and (past the last one) a save that runs to its end.
  for (std::size_t k = 0; k <= steps.size(); ++k) {
    SCOPED_TRACE("stopping before step " + std::to_string(k + 1) + ", " + (k < steps.size() ? steps[k] : "none"));
    ASSERT_TRUE(WriteFileBytes(m_path, m_old));
    HANDLE child = StartChild(L"stop " + std::to_wstring(k + 1) + L" \"" + WidenText(m_path) + L"\"");
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(::WaitForSingleObject(child, 30000), WAIT_OBJECT_0);
    DWORD status = 0;
    ::GetExitCodeProcess(child, &status);
    ::CloseHandle(child);
    EXPECT_EQ(status, k < steps.size() ? FaultyFileCalls::kStoppedStatus : 0);
    ++g_faults;
    const Image onDisk = ReadFileBytes(m_path);
    ASSERT_TRUE(onDisk == m_old || onDisk == m_new);
    (onDisk == m_old ? sawOld : sawNew) = true;
    // A stopped save may leave its temporary file behind, never more.
    const Names names = NamesIn(m_dir.Path());
    ASSERT_LE(names.size(), 2u);
    if (names.size() == 2) ::DeleteFileW(WidenText(m_dir.File(names[0])).c_str());
  }
  EXPECT_TRUE(sawOld && sawNew);
}

// When ReplaceFile fails while moving the new file in, Windows may already have removed the
// old one: the temporary file then holds the only copy of the points and must not be deleted.
TEST_F(Win32SaveFaults, AReplaceThatLosesTheOldFileStillEndsWithTheNewOne) {
  class LosingReplace : public FaultyFileCalls {
   public:
    bool moveFails = false;
    BOOL ReplaceWith(const wchar_t* target, const wchar_t*) override {
      Win32FileCalls::Remove(target);
      ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
      return FALSE;
    }
    BOOL Move(const wchar_t* from, const wchar_t* to, DWORD flags) override {
      if (!moveFails) return Win32FileCalls::Move(from, to, flags);
      ::SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  };
  LosingReplace calls;
  RecordingMessageSink sink;
  EXPECT_EQ(SaveThrough(calls, sink), 0);
  EXPECT_TRUE(sink.texts.empty());
  ExpectWholeAndAlone(m_new);

  ASSERT_TRUE(WriteFileBytes(m_path, m_old));
  calls.moveFails = true;
  EXPECT_EQ(SaveThrough(calls, sink), -1);
  EXPECT_EQ(sink.texts.size(), 1u);
  const Names names = NamesIn(m_dir.Path());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(ReadFileBytes(m_dir.File(names[0])), m_new);
  ++g_faults;
}

TEST_F(Win32SaveFaults, AFileHeldByAnotherProcessWithoutSharingIsLeftAsItIs) {
  HANDLE holder = StartChild(L"hold \"" + WidenText(m_path) + L"\"");
  ASSERT_NE(holder, nullptr);
  // Held once it can no longer be opened for reading. Starting a process under Wine on a busy
  // machine can take many seconds, so the wait is generous; it ends as soon as the file is held.
  for (int i = 0; i < 3000 && !ReadFileBytes(m_path).empty(); ++i) {
    ASSERT_EQ(::WaitForSingleObject(holder, 0), WAIT_TIMEOUT) << "the holding child ended";
    ::Sleep(20);
  }
  ASSERT_TRUE(ReadFileBytes(m_path).empty());
  RecordingMessageSink sink;
  const int result = SaveThrough(RealWin32FileCalls(), sink);
  ::TerminateProcess(holder, 0);
  ::WaitForSingleObject(holder, 10000);
  ::CloseHandle(holder);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(sink.texts, Names{CauseMessage(m_path, FileCause::kSharingViolation)});
  ExpectWholeAndAlone(m_old);
}

TEST_F(Win32SaveFaults, AFileDeletedOrReplacedByADirectoryAfterItWasOpened) {
  Win32FileStore store;
  RecordingMessageSink sink;
  PointFile file;
  ASSERT_TRUE(file.LoadFile(m_path, store, sink).Loaded());
  file.InsertRecord(0);

  // Deleted: the save puts the points where the file was.
  ASSERT_TRUE(::DeleteFileW(WidenText(m_path).c_str()));
  EXPECT_EQ(file.SaveFile(m_path, store, sink), 0);
  EXPECT_EQ(ReadFileBytes(m_path), ImageOf(file));
  ++g_faults;

  // A directory in its place: refused, the directory and what is in it stay.
  ASSERT_TRUE(::DeleteFileW(WidenText(m_path).c_str()));
  ASSERT_TRUE(::CreateDirectoryW(WidenText(m_path).c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(m_path + "\\inside.txt", {1, 2, 3}));
  EXPECT_EQ(file.SaveFile(m_path, store, sink), -1);
  EXPECT_EQ(sink.texts, Names{CauseMessage(m_path, FileCause::kAccessDenied)});
  EXPECT_EQ(NamesIn(m_path + "\\"), Names{"inside.txt"});
  EXPECT_EQ(NamesIn(m_dir.Path()), Names{"points.pnt"});
  ++g_faults;
}

// Drives prepared by framework/tests/file_faults_on_drives.sh (root only): a file system too
// small for a second copy of the file, and one mounted read-only. Skipped without them.
TEST_F(Win32SaveFaults, AFullDiskAndAReadOnlyDirectoryKeepTheOldFile) {
  struct Drive {
    const char* variable;
    FileCause cause;
  };
  int drives = 0;
  for (const Drive& drive : {Drive{"OSTREL_FULL_DRIVE", FileCause::kDiskFull},
                             Drive{"OSTREL_READ_ONLY_DRIVE", FileCause::kAccessDenied}}) {
    const char* root = std::getenv(drive.variable);
    if (!root || !*root) continue;
    ++drives;
    SCOPED_TRACE(drive.variable);
    const std::string dir = std::string(root) + "\\";
    const std::string path = dir + "points.pnt";
    const Image old = ReadFileBytes(path);  // the script put a point file there
    ASSERT_EQ(old.size(), kPointFileLength);
    Win32FileStore store;
    RecordingMessageSink sink;
    EXPECT_EQ(Loaded(m_new).SaveFile(path, store, sink), -1);
    EXPECT_EQ(sink.texts, Names{CauseMessage(path, drive.cause)});
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(NamesIn(dir), Names{"points.pnt"});
    ++g_faults;
  }
  if (drives == 0) GTEST_SKIP() << "no prepared drives (file_faults_on_drives.sh sets them up)";
}

}  // namespace
