// The Win32 channel with a real second process, the recording helper standing in for the map
// helper: started by its full path only, its own window found among others, and a close that
// ends it, or leaves a helper that ignores the close running rather than waiting for it.
#include "maplink/win32_helper_channel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/testing/gui_test_support.h"
#include "framework/text_encoding.h"

namespace {

class Win32HelperChannelTest : public ::testing::Test {
 protected:
  void TearDown() override { ::SetEnvironmentVariableW(L"OSTREL_HELPER_SCRIPT", nullptr); }

  static std::wstring StandIn() { return WidenText(ProgramDirectory() + "recording_helper.exe"); }
  // The process that owns `window`, opened for waiting on and ending.
  static HANDLE ProcessOf(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
  }

  TempDirectory dir;
};

TEST_F(Win32HelperChannelTest, StartsByFullPathFindsItsOwnWindowAndClosesIt) {
  Win32HelperChannel channel;
  // A program of that name in the current directory is no helper beside the editor.
  ASSERT_TRUE(::CopyFileW(StandIn().c_str(), (dir.WidePath() + L"Quorvin2.exe").c_str(), TRUE));
  EXPECT_FALSE(channel.StartProgram(L"C:\\no such folder\\Quorvin2.exe"));
  EXPECT_EQ(channel.FindHelperWindow(), nullptr);

  // Another program's helper runs already; the one started here is told apart from it.
  Win32HelperChannel other;
  ASSERT_TRUE(other.StartProgram(dir.WidePath() + L"Quorvin2.exe"));
  const HWND otherWindow = other.FindHelperWindow();
  ASSERT_TRUE(channel.StartProgram(StandIn()));
  const HWND window = channel.FindHelperWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_NE(window, otherWindow);

  HANDLE process = ProcessOf(window);
  channel.CloseProgram(window);
  EXPECT_EQ(::WaitForSingleObject(process, 0), WAIT_OBJECT_0);
  ::CloseHandle(process);
  EXPECT_EQ(channel.FindHelperWindow(), otherWindow);
  other.CloseProgram(otherWindow);
}

TEST_F(Win32HelperChannelTest, AHelperThatIgnoresCloseIsLeftRunning) {
  const std::string script = dir.File("script.txt");
  ASSERT_TRUE(WriteFileBytes(script, std::vector<unsigned char>{'i', 'g', 'n', 'o', 'r', 'e', '-', 'c', 'l', 'o', 's', 'e'}));
  ::SetEnvironmentVariableW(L"OSTREL_HELPER_SCRIPT", WidenText(script).c_str());
  Win32HelperChannel channel;
  ASSERT_TRUE(channel.StartProgram(StandIn()));
  const HWND window = channel.FindHelperWindow();
  HANDLE process = ProcessOf(window);
  channel.CloseProgram(window);
  EXPECT_EQ(::WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ::TerminateProcess(process, 0);
  ::WaitForSingleObject(process, 5000);
  ::CloseHandle(process);
}

}  // namespace
