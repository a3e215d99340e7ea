// The main window's side of the map link: the helper program "Quorvin2.exe" beside the
// program, started on first use, told what to show through text commands posted to its
// window "Quorvin", and asked for the map's marker position, which comes back in replies
// posted to the main window.
#include <windows.h>

#include "app/main_dialog.h"
#include "framework/prompts.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kHelperFileName[] = L"Quorvin2.exe";
constexpr wchar_t kHelperWindowTitle[] = L"Quorvin";
// How long a newly started helper may take to be ready for messages.
constexpr DWORD kHelperStartWait = 10000;
// How long closing waits for the helper to end. A helper that hangs, or ignores WM_CLOSE,
// is then left running: the program still ends, or starts the next helper.
constexpr DWORD kHelperCloseWait = 3000;

// Beside the program's own executable, in UTF-16 all the way: a directory whose name code
// page 932 cannot spell still finds its helper.
std::wstring HelperPath() {
  std::wstring path = ProgramPath();
  path.erase(path.find_last_of(L"\\/") + 1);
  return path + kHelperFileName;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The marker text a reply gives: the coordinate text, or empty for a reply that is no
// coordinate (nothing, an error text), so that capture adds no point at a made-up place.
std::string MarkerText(const std::string& reply) {
  return IsHelperCoordinate(reply) ? FromHelperCoordinate(reply) : std::string();
}

}  // namespace

void MainDialog::RegisterMapMessages() { m_mapMessages.Register(); }

void MainDialog::CheckHelperPresent() { m_helperPresent = IsFile(HelperPath()); }

void MainDialog::StartHelper() {
  // By its full path: a search for the bare name would also look in the current directory
  // and along PATH, and start whatever program of that name it found there.
  const std::wstring path = HelperPath();
  std::wstring commandLine = L"\"" + path + L"\"";  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (IsFile(path) && ::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                       nullptr, &startup, &process)) {
    m_helperProcess = process;
    ::WaitForInputIdle(process.hProcess, kHelperStartWait);
  }
  SendTextCommand(MapMessage::kSetLayer, "4");
  // The window that closing will ask to end: only that of a helper this program started,
  // never another program's when none could be started here.
  m_helperWindow = m_helperProcess.hProcess ? FindHelperWindow() : nullptr;
  m_helperStarted = true;
  SendTextCommand(MapMessage::kObjectName, m_mapObjectName);
  SendTextCommand(MapMessage::kInitMap, "");
  // Starting a program may have put its window in front of ours.
  ::SetForegroundWindow(m_hwnd);
}

HWND MainDialog::FindHelperWindow() const {
  // The window of the helper this program started, when there are several (one that
  // ignored an earlier WM_CLOSE, another program's); otherwise the first one there is.
  HWND first = nullptr;
  for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, kHelperWindowTitle); window;
       window = ::FindWindowExW(nullptr, window, nullptr, kHelperWindowTitle)) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (m_helperProcess.hProcess && processId == m_helperProcess.dwProcessId) return window;
    if (!first) first = window;
  }
  return first;
}

void MainDialog::SendTextCommand(MapMessage command, std::string_view text) {
  // Posting to no window would post to this thread's own queue instead.
  const HWND helper = FindHelperWindow();
  if (!helper) return;
  for (const TextStep& step : EncodeTextCommand(command, text))
    ::PostMessageW(helper, MapMessageId(MapMessage::kQuorvin), MapMessageId(step.subCommand), step.lParam);
}

LRESULT MainDialog::OnMarkerNotice(WPARAM, LPARAM) {
  SendTextCommand(MapMessage::kGetMarkLat, "");
  SendTextCommand(MapMessage::kGetMarkLon, "");
  m_lonEdit.Enable(true);
  m_latEdit.Enable(true);
  EnableItem(IDC_TAKE_POSITION, true);
  return 0;
}

LRESULT MainDialog::OnHelperReply(WPARAM wParam, LPARAM lParam) {
  const auto step = static_cast<UINT>(wParam);
  if (step == MapMessageId(MapMessage::kTextStart)) {
    m_replyText.Start();
  } else if (step == MapMessageId(MapMessage::kTextChar)) {
    m_replyText.AppendByte(static_cast<std::int32_t>(lParam));
  } else if (step == MapMessageId(MapMessage::kGetMarkLat)) {
    m_markerLatitude = MarkerText(m_replyText.Text());
    m_latEdit.SetText(m_markerLatitude);
  } else if (step == MapMessageId(MapMessage::kGetMarkLon)) {
    m_markerLongitude = MarkerText(m_replyText.Text());
    m_lonEdit.SetText(m_markerLongitude);
  }
  return 0;
}

void MainDialog::CloseHelper() {
  if (m_helperWindow) {
    ::PostMessageW(m_helperWindow, WM_CLOSE, 0, 0);
    if (m_helperProcess.hProcess) ::WaitForSingleObject(m_helperProcess.hProcess, kHelperCloseWait);
    m_helperWindow = nullptr;
  }
  ReleaseHelperProcess();
}

void MainDialog::ReleaseHelperProcess() {
  if (m_helperProcess.hProcess) ::CloseHandle(m_helperProcess.hProcess);
  if (m_helperProcess.hThread) ::CloseHandle(m_helperProcess.hThread);
  m_helperProcess = {};
}
