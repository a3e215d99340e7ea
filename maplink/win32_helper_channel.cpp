#include "maplink/win32_helper_channel.h"

#include "maplink/helper_protocol.h"

namespace {

// How long a newly started helper may take to be ready for messages.
constexpr DWORD kHelperStartWait = 10000;
// How long closing waits for the helper to end.
constexpr DWORD kHelperCloseWait = 3000;
// One wait for a helper whose queue is full: long enough for it to take a few thousand
// messages, short enough that a point display does not stall on one refusal.
constexpr DWORD kQueueRoomWait = 50;

const std::wstring& HelperTitle() {
  static const std::wstring title(std::begin(kHelperWindowTitle), std::end(kHelperWindowTitle) - 1);  // ASCII
  return title;
}

}  // namespace

Win32HelperChannel::~Win32HelperChannel() { ReleaseProcess(); }

bool Win32HelperChannel::ProgramExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32HelperChannel::StartProgram(const std::wstring& path) {
  ReleaseProcess();
  // Starting a program may put its window in front of the one the user works in.
  const HWND front = ::GetForegroundWindow();
  std::wstring commandLine = L"\"" + path + L"\"";  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const bool started = ProgramExists(path) && ::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr,
                                                               FALSE, 0, nullptr, nullptr, &startup, &m_process);
  if (started) ::WaitForInputIdle(m_process.hProcess, kHelperStartWait);
  if (front) ::SetForegroundWindow(front);
  return started;
}

HWND Win32HelperChannel::FindHelperWindow() {
  HWND first = nullptr;
  for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, HelperTitle().c_str()); window;
       window = ::FindWindowExW(nullptr, window, nullptr, HelperTitle().c_str())) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (m_process.hProcess && processId == m_process.dwProcessId) return window;
    if (!first) first = window;
  }
  return first;
}

bool Win32HelperChannel::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Posting to no window would post to this thread's own queue instead.
  return window && ::PostMessageW(window, message, wParam, lParam);
}

bool Win32HelperChannel::WaitForQueueRoom(HWND window) {
  // The helper is another process: it empties its queue while this thread sleeps.
  ::Sleep(kQueueRoomWait);
  return ::IsWindow(window);
}

void Win32HelperChannel::CloseProgram(HWND window) {
  if (window) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (m_process.hProcess) ::WaitForSingleObject(m_process.hProcess, kHelperCloseWait);
  }
  ReleaseProcess();
}

void Win32HelperChannel::ReleaseProcess() {
  if (m_process.hProcess) ::CloseHandle(m_process.hProcess);
  if (m_process.hThread) ::CloseHandle(m_process.hThread);
  m_process = {};
}
