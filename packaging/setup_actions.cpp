// The installer's custom action, for what its tables cannot say: before files are replaced
// or removed, the editor and the map helper running from the installation folder are asked
// to close, as their close box would (the editor asks about unsaved points itself). Files in
// use would otherwise be replaced only at the next restart, leaving the old programs running
// beside new files. If they are still running after a while, the user is asked to close them
// or cancel; without a user interface (msiexec /qn) the installation ends without changing
// anything.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kCloseWaitMilliseconds = 30000;
constexpr const wchar_t* kProgramNames[] = {L"Ostrel.exe", L"Quorvin2.exe"};

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  DWORD length = 0;
  wchar_t empty[1] = L"";
  if (::MsiGetPropertyW(install, name, empty, &length) != ERROR_MORE_DATA) return {};
  std::wstring value(++length, L'\0');
  if (::MsiGetPropertyW(install, name, value.data(), &length) != ERROR_SUCCESS) return {};
  value.resize(length);
  return value;
}

std::wstring ProcessPath(DWORD id) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return {};
  std::wstring path(MAX_PATH * 4, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length)) length = 0;
  ::CloseHandle(process);
  path.resize(length);
  return path;
}

// The editor's and the helper's processes started from `folder` (with its trailing
// backslash); the same programs elsewhere, say an unpacked zip, are not the installer's.
std::vector<DWORD> ProgramsRunningFrom(const std::wstring& folder) {
  std::vector<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    for (const wchar_t* name : kProgramNames) {
      if (::lstrcmpiW(entry.szExeFile, name) == 0 &&
          ::lstrcmpiW(ProcessPath(entry.th32ProcessID).c_str(), (folder + name).c_str()) == 0)
        ids.push_back(entry.th32ProcessID);
    }
  }
  ::CloseHandle(snapshot);
  return ids;
}

BOOL CALLBACK CloseIfOneOf(HWND window, LPARAM idsParam) {
  const auto& ids = *reinterpret_cast<const std::vector<DWORD>*>(idsParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  for (DWORD id : ids) {
    if (id == owner && ::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER))
      ::PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

// True when every one of the processes ended within the wait.
bool WaitForExit(const std::vector<DWORD>& ids) {
  const DWORD deadline = ::GetTickCount() + kCloseWaitMilliseconds;
  for (DWORD id : ids) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process) continue;  // already gone
    const DWORD now = ::GetTickCount();
    const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
    const bool ended = ::WaitForSingleObject(process, left) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    if (!ended) return false;
  }
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall CloseRunningPrograms(MSIHANDLE install) {
  const std::wstring folder = Property(install, L"INSTALLDIR");
  if (folder.empty()) return ERROR_SUCCESS;
  for (;;) {
    const std::vector<DWORD> ids = ProgramsRunningFrom(folder);
    if (ids.empty()) return ERROR_SUCCESS;
    ::EnumWindows(CloseIfOneOf, reinterpret_cast<LPARAM>(&ids));
    if (WaitForExit(ids)) return ERROR_SUCCESS;
    PMSIHANDLE record = ::MsiCreateRecord(0);
    ::MsiRecordSetStringW(record, 0,
                          L"Ostrel or its map helper Quorvin2 is still running. Close it, then choose Retry.");
    const int answer = ::MsiProcessMessage(
        install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_USER | MB_RETRYCANCEL | MB_ICONWARNING), record);
    if (answer != IDRETRY) return ERROR_INSTALL_USEREXIT;
  }
}
