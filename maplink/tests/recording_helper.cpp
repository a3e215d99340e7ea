// A stand-in for the map helper in the map link's tests with a real process: a hidden
// window titled "Quorvin" that writes down every message the editor sends it and answers
// marker requests as a script says.
//
// Environment (the editor starts it with its own):
//   OSTREL_HELPER_LOG     the file each message is appended to, one line each:
//                           started <process id> <path of this program>
//                           <sub-command name> 0x<lParam, 8 hex digits>[ <text of a command>]
//                           WM_CLOSE | WM_CLOSE ignored | notice
//   OSTREL_HELPER_SCRIPT  read at every request, one instruction a line:
//                           lat <reply>   lon <reply>   the reply bytes for a marker request
//                           notice        post a marker notice once the map is started
//                           ignore-close  stay open after WM_CLOSE
// The editor's main window is the dialog titled "Ostrel".
#include <windows.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/text_encoding.h"
#include "maplink/helper_protocol.h"
#include "maplink/map_message_ids.h"

namespace {

MapMessageIds g_ids;
HANDLE g_log = INVALID_HANDLE_VALUE;
TextAssembler g_text;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

void Record(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  ::WriteFile(g_log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The script's line for `instruction`, without it: "lat 35/39/29123" gives "35/39/29123".
bool ScriptLine(const std::string& instruction, std::string* rest = nullptr) {
  std::ifstream script(std::filesystem::path(Environment(L"OSTREL_HELPER_SCRIPT")), std::ios::binary);
  for (std::string line; std::getline(script, line);) {
    if (line.compare(0, instruction.size(), instruction) != 0) continue;
    if (rest) *rest = line.size() > instruction.size() ? line.substr(instruction.size() + 1) : std::string();
    return true;
  }
  return false;
}

HWND EditorWindow() { return ::FindWindowW(L"#32770", WidenText(kEditorWindowTitle).c_str()); }

void PostMarkerNotice() {
  Record("notice");
  ::PostMessageW(EditorWindow(), kMarkerNoticeMessage, 0, 0);
}

void AnswerMarkerRequest(MapMessage request) {
  std::string reply;
  if (!ScriptLine(request == MapMessage::kGetMarkLat ? "lat" : "lon", &reply)) return;
  const HWND editor = EditorWindow();
  for (const TextStep& step : EncodeReply(request, reply))
    ::PostMessageW(editor, kHelperReplyMessage, g_ids.Id(step.subCommand), step.lParam);
}

void OnSubCommand(UINT id, LPARAM lParam) {
  const std::optional<MapMessage> found = g_ids.Find(id);
  char line[64];
  std::snprintf(line, sizeof line, "%s 0x%08X", found ? kMapMessageNames[static_cast<size_t>(*found)] : "?",
                static_cast<unsigned>(lParam));
  const auto subCommand = found.value_or(static_cast<MapMessage>(kMapMessageCount));
  if (subCommand == MapMessage::kTextStart) {
    g_text.Start();
    Record(line);
  } else if (subCommand == MapMessage::kTextChar) {
    g_text.AppendCharacter(static_cast<std::int32_t>(lParam));
    Record(line);
  } else {
    Record(std::string(line) + " " + g_text.Text());
    if (subCommand == MapMessage::kGetMarkLat || subCommand == MapMessage::kGetMarkLon) AnswerMarkerRequest(subCommand);
    if (subCommand == MapMessage::kInitMap && ScriptLine("notice")) PostMarkerNotice();
  }
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_ids.Id(MapMessage::kQuorvin)) {
    OnSubCommand(static_cast<UINT>(wParam), lParam);
    return 0;
  }
  switch (message) {
    case WM_CLOSE:
      if (ScriptLine("ignore-close")) {
        Record("WM_CLOSE ignored");
        return 0;
      }
      Record("WM_CLOSE");
      ::DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  g_log = ::CreateFileW(Environment(L"OSTREL_HELPER_LOG").c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  Record("started " + std::to_string(::GetCurrentProcessId()) + " " + NarrowText(std::wstring_view(path, length)));
  g_ids.Register();

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HelperProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"OstrelRecordingHelper";
  ::RegisterClassW(&windowClass);
  // Hidden, but a top-level window: FindWindow finds it (a message-only window it would not).
  ::CreateWindowW(windowClass.lpszClassName, WidenText(kHelperWindowTitle).c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                  instance, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  ::CloseHandle(g_log);
  return 0;
}
