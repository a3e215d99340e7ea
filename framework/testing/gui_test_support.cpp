#include "framework/testing/gui_test_support.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "framework/text_encoding.h"

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT point) {
  // DROPFILES, then the paths one after another, each NUL-terminated, then one more NUL.
  size_t chars = 1;
  for (const std::wstring& p : paths) chars += p.size() + 1;
  const size_t bytes = sizeof(DROPFILES) + chars * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = point;
  drop->fNC = FALSE;
  drop->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
  for (const std::wstring& p : paths) {
    std::memcpy(out, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
    out += p.size() + 1;
  }
  *out = L'\0';
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TempDirectory::TempDirectory() {
  wchar_t base[MAX_PATH];
  ::GetTempPathW(MAX_PATH, base);
  for (unsigned n = ::GetTickCount();; ++n) {
    std::wstring candidate = std::wstring(base) + L"ostrel-test-" + std::to_wstring(n) + L"\\";
    if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
      m_path = NarrowText(candidate);
      break;
    }
  }
}

namespace {

// Removes `dir` (a \\?\ path with a trailing backslash) and everything in it. Not through
// SHFileOperation: given paths longer than MAX_PATH inside, Wine's loses its way and deletes
// what lies in the current directory instead.
void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((dir + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(dir + name + L"\\");
      } else {
        ::SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW((dir + name).c_str());
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(dir.c_str());
}

}  // namespace

TempDirectory::~TempDirectory() { RemoveTree(L"\\\\?\\" + WidePath()); }

std::wstring TempDirectory::WidePath() const { return WidenText(m_path); }

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  HANDLE file = ::CreateFileW(WidenText(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  HANDLE file = ::CreateFileW(WidenText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  unsigned char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  ::CloseHandle(file);
  return bytes;
}

std::string ProgramManifest(const std::string& path) {
  const HMODULE program = ::LoadLibraryExW(WidenText(path).c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!program) return "";
  std::string manifest;
  if (const HRSRC resource = ::FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    if (const auto* text = static_cast<const char*>(::LockResource(::LoadResource(program, resource))))
      manifest.assign(text, ::SizeofResource(program, resource));
  }
  ::FreeLibrary(program);
  return manifest;
}

bool SaveScreenPicture(HWND window, const std::string& path) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  RECT r;
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap =
      ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  const bool copied = ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != FALSE;
  ::GdiFlush();
  const DWORD imageSize = static_cast<DWORD>((width * 3 + 3) / 4 * 4 * height);
  const BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + imageSize), 0, 0,
                              sizeof(BITMAPFILEHEADER) + sizeof header};
  std::vector<unsigned char> bytes(reinterpret_cast<const unsigned char*>(&file),
                                   reinterpret_cast<const unsigned char*>(&file + 1));
  bytes.insert(bytes.end(), reinterpret_cast<const unsigned char*>(&header),
               reinterpret_cast<const unsigned char*>(&header + 1));
  if (bits) bytes.insert(bytes.end(), static_cast<const unsigned char*>(bits), static_cast<const unsigned char*>(bits) + imageSize);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return copied && bits && WriteFileBytes(path, bytes);
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesW(WidenText(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> NamesIn(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((WidenText(dir) + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(NarrowText(name));
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ProgramDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, length);
  dir.erase(dir.find_last_of(L'\\') + 1);
  return NarrowText(dir);
}
