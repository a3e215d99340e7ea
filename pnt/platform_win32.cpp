#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>

#include "framework/win32_file_store.h"
#include "pnt/platform.h"

namespace {

std::string Utf8FromWide(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  return out;
}

UINT g_consoleOutputCodePage = 0;

void RestoreConsoleCodePage() { SetConsoleOutputCP(g_consoleOutputCodePage); }

}  // namespace

FileStore& SystemFileStore() {
  static Win32FileStore store;
  return store;
}

std::filesystem::path FileSystemPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* OpenInputFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::path name = FileSystemPath(path);
  if (!std::filesystem::is_regular_file(name, error)) {
    errno = std::filesystem::exists(name, error) ? ENODEV : ENOENT;
    return nullptr;
  }
  return _wfopen(name.c_str(), L"rb");
}

std::vector<std::string> Utf8Arguments(int, char**) {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  // The console shows what pnt writes, UTF-8, until pnt exits.
  g_consoleOutputCodePage = GetConsoleOutputCP();
  if (g_consoleOutputCodePage != 0 && SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreConsoleCodePage);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}
