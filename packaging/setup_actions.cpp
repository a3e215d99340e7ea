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

// Plain arrays, no C++ library: the DLL is stored in the MSI as it is, and stays small.
namespace {

constexpr DWORD kCloseWaitMilliseconds = 30000;
constexpr const wchar_t* kProgramNames[] = {L"Ostrel.exe", L"Quorvin2.exe"};
// Paths as long as the file system allows.
constexpr DWORD kPathRoom = 32768;
// More copies than anyone runs; any beyond are closed on the next round.
constexpr int kMaxPrograms = 64;

struct Programs {
  DWORD ids[kMaxPrograms];
  int count = 0;
};

wchar_t g_folder[kPathRoom];
wchar_t g_candidate[kPathRoom];
wchar_t g_running[kPathRoom];

// True when process `id` runs `folder` + `name`.
bool RunsFrom(DWORD id, const wchar_t* folder, const wchar_t* name) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return false;
  DWORD length = kPathRoom;
  const bool known = ::QueryFullProcessImageNameW(process, 0, g_running, &length);
  ::CloseHandle(process);
  if (!known || ::lstrlenW(folder) + ::lstrlenW(name) >= static_cast<int>(kPathRoom)) return false;
  ::lstrcpyW(g_candidate, folder);
  ::lstrcatW(g_candidate, name);
  return ::lstrcmpiW(g_running, g_candidate) == 0;
}

// The editor's and the helper's processes started from `folder` (with its trailing
// backslash); the same programs elsewhere, say an unpacked zip, are not the installer's.
Programs ProgramsRunningFrom(const wchar_t* folder) {
  Programs found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && found.count < kMaxPrograms;
       more = ::Process32NextW(snapshot, &entry)) {
    for (const wchar_t* name : kProgramNames) {
      if (::lstrcmpiW(entry.szExeFile, name) == 0 && RunsFrom(entry.th32ProcessID, folder, name))
        found.ids[found.count++] = entry.th32ProcessID;
    }
  }
  ::CloseHandle(snapshot);
  return found;
}

BOOL CALLBACK CloseIfOneOf(HWND window, LPARAM programsParam) {
  const auto& programs = *reinterpret_cast<const Programs*>(programsParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  for (int i = 0; i < programs.count; ++i) {
    if (programs.ids[i] == owner && ::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER))
      ::PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

// True when every one of the processes ended within the wait.
bool WaitForExit(const Programs& programs) {
  const DWORD deadline = ::GetTickCount() + kCloseWaitMilliseconds;
  for (int i = 0; i < programs.count; ++i) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, programs.ids[i]);
    if (!process) continue;  // already gone
    const LONG left = static_cast<LONG>(deadline - ::GetTickCount());
    const bool ended = ::WaitForSingleObject(process, left > 0 ? static_cast<DWORD>(left) : 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    if (!ended) return false;
  }
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall CloseRunningPrograms(MSIHANDLE install) {
  DWORD length = kPathRoom;
  if (::MsiGetPropertyW(install, L"INSTALLDIR", g_folder, &length) != ERROR_SUCCESS || length == 0)
    return ERROR_SUCCESS;
  for (;;) {
    const Programs programs = ProgramsRunningFrom(g_folder);
    if (programs.count == 0) return ERROR_SUCCESS;
    ::EnumWindows(CloseIfOneOf, reinterpret_cast<LPARAM>(&programs));
    if (WaitForExit(programs)) continue;  // look again: a helper may have started meanwhile
    PMSIHANDLE record = ::MsiCreateRecord(0);
    ::MsiRecordSetStringW(record, 0,
                          L"Ostrel or its map helper Quorvin2 is still running. Close it, then choose Retry.");
    const int answer = ::MsiProcessMessage(
        install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_USER | MB_RETRYCANCEL | MB_ICONWARNING), record);
    if (answer != IDRETRY) return ERROR_INSTALL_USEREXIT;
  }
}
