#include "maplink/tests/map_link_fixture.h"

#include <algorithm>
#include <sstream>

#include "framework/text_encoding.h"
#include "maplink/tests/recording_helper.h"

namespace {

void SetEnvironment(const wchar_t* name, const std::string& value) {
  ::SetEnvironmentVariableW(name, value.empty() ? nullptr : WidenText(value).c_str());
}

// Read while the helper may still hold the file open for writing.
std::string ReadShared(const std::string& path) {
  HANDLE file = ::CreateFileW(WidenText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  ::CloseHandle(file);
  return text;
}

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

}  // namespace

bool IsProcessRunning(DWORD processId) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return false;
  const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return running;
}

MapLinkTest::MapLinkTest() {
  registry.Put(RegistryRoot::kLocalMachine, helperKey, "MapObject", {MemoryRegistry::Type::kString, "ProAtlasW3.Map", 0});
}

void MapLinkTest::SetUp() {
  m_logPath = dir.File("helper.log");
  m_scriptPath = dir.File("helper-script.txt");
  SetEnvironment(L"OSTREL_HELPER_LOG", m_logPath);
  SetEnvironment(L"OSTREL_HELPER_SCRIPT", m_scriptPath);
  window.MapObjects().UseRegistry(registry);
  EditingTest::SetUp();
  SetEnvironment(L"OSTREL_HELPER_EDITOR", std::to_string(reinterpret_cast<INT_PTR>(window.Handle())));
}

void MapLinkTest::TearDown() {
  EditingTest::TearDown();
  // A helper that stayed (one that ignores WM_CLOSE) must not outlive its test.
  for (DWORD id : StartedHelpers()) {
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      ::TerminateProcess(process, 1);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
  }
  for (const wchar_t* name : {L"OSTREL_HELPER_LOG", L"OSTREL_HELPER_SCRIPT", L"OSTREL_HELPER_EDITOR"})
    ::SetEnvironmentVariableW(name, nullptr);
}

void MapLinkTest::Script(const std::string& text) {
  ASSERT_TRUE(WriteFileBytes(m_scriptPath, std::vector<unsigned char>(text.begin(), text.end())));
}

std::vector<std::string> MapLinkTest::Log() const {
  std::vector<std::string> lines;
  std::istringstream text(ReadShared(m_logPath));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> MapLinkTest::Messages() const {
  std::vector<std::string> messages;
  for (const std::string& line : Log()) {
    if (StartsWith(line, "SUB_") || StartsWith(line, "WM_QUORVIN") || StartsWith(line, "? ")) messages.push_back(line);
  }
  return messages;
}

std::vector<std::string> MapLinkTest::Commands() const {
  std::vector<std::string> commands;
  for (const std::string& line : Messages()) {
    if (!StartsWith(line, "SUB_TEXT_START ") && !StartsWith(line, "SUB_TEXT_CHAR ")) commands.push_back(line);
  }
  return commands;
}

std::vector<std::string> MapLinkTest::LastCommands(size_t count) const {
  const std::vector<std::string> commands = Commands();
  return std::vector<std::string>(commands.end() - std::min(count, commands.size()), commands.end());
}

std::vector<DWORD> MapLinkTest::StartedHelpers() const {
  std::vector<DWORD> ids;
  for (const std::string& line : Log()) {
    if (StartsWith(line, "started ")) ids.push_back(std::stoul(line.substr(8)));
  }
  return ids;
}

bool MapLinkTest::WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    PumpMessages();
    if (done()) return true;
    if (::GetTickCount() - start > milliseconds) return false;
    ::Sleep(10);
  }
}

bool MapLinkTest::SyncHelper() {
  const HWND helper = ::FindWindowW(nullptr, L"Quorvin");
  if (!helper) return false;
  const std::string mark = "sync " + std::to_string(++m_syncs);
  ::PostMessageW(helper, kRecordingHelperSync, m_syncs, 0);
  if (!WaitUntil([&] { const auto log = Log(); return !log.empty() && log.back() == mark; })) return false;
  PumpMessages();
  return true;
}

void MapLinkTest::ReceiveMarker(const std::string& latitude, const std::string& longitude) {
  Script("lat " + latitude + "\nlon " + longitude + "\n");
  if (!window.HelperStarted()) Command(IDC_MAP_DISPLAY);
  ASSERT_TRUE(SyncHelper());
  ::PostMessageW(::FindWindowW(nullptr, L"Quorvin"), kRecordingHelperPostNotice, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return Window(window.Item(IDC_TAKE_POSITION)).IsEnabled(); }));
  ASSERT_TRUE(SyncHelper());
}
