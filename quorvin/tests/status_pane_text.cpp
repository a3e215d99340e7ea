// Prints, in UTF-8, the text of one pane of the status bar in the top-level window with the
// given title: the end-to-end tests read the helper's counts as a user reads them.
//   status_pane_text.exe <window title> <pane>
// The bar belongs to another process, so the text is fetched into memory allocated there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: status_pane_text <window title> <pane>\n", stderr);
    return 2;
  }
  const HWND window = ::FindWindowW(nullptr, argv[1]);
  const HWND bar = window ? ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr) : nullptr;
  if (!bar) {
    std::fputs("status_pane_text: no such window with a status bar\n", stderr);
    return 1;
  }
  const WPARAM pane = static_cast<WPARAM>(std::wcstol(argv[2], nullptr, 10));
  const size_t length = LOWORD(::SendMessageW(bar, SB_GETTEXTLENGTHW, pane, 0));
  DWORD processId = 0;
  ::GetWindowThreadProcessId(bar, &processId);
  const HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
  const size_t bytes = (length + 1) * sizeof(wchar_t);
  void* remote = process ? ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE) : nullptr;
  std::wstring text(length + 1, L'\0');
  bool read = false;
  if (remote) {
    ::SendMessageW(bar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(remote));
    read = ::ReadProcessMemory(process, remote, text.data(), bytes, nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  if (process) ::CloseHandle(process);
  if (!read) {
    std::fputs("status_pane_text: the pane could not be read\n", stderr);
    return 1;
  }
  text.resize(length);
  std::string utf8(::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr),
                   '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
  std::printf("%s\n", utf8.c_str());
  return 0;
}
