#include "framework/win32_file_calls.h"

DWORD Win32FileCalls::GetAttributes(const wchar_t* path) { return ::GetFileAttributesW(path); }

HANDLE Win32FileCalls::Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) {
  return ::CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD Win32FileCalls::GetType(HANDLE file) { return ::GetFileType(file); }

BOOL Win32FileCalls::Read(HANDLE file, void* buffer, DWORD size, DWORD* got) {
  return ::ReadFile(file, buffer, size, got, nullptr);
}

BOOL Win32FileCalls::Write(HANDLE file, const void* data, DWORD size, DWORD* written) {
  return ::WriteFile(file, data, size, written, nullptr);
}

BOOL Win32FileCalls::Flush(HANDLE file) { return ::FlushFileBuffers(file); }
BOOL Win32FileCalls::GetSize(HANDLE file, LARGE_INTEGER* size) { return ::GetFileSizeEx(file, size); }
BOOL Win32FileCalls::Close(HANDLE file) { return ::CloseHandle(file); }
BOOL Win32FileCalls::Move(const wchar_t* from, const wchar_t* to, DWORD flags) { return ::MoveFileExW(from, to, flags); }

BOOL Win32FileCalls::ReplaceWith(const wchar_t* target, const wchar_t* replacement) {
  return ::ReplaceFileW(target, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

BOOL Win32FileCalls::Remove(const wchar_t* path) { return ::DeleteFileW(path); }

Win32FileCalls& RealWin32FileCalls() {
  static Win32FileCalls calls;
  return calls;
}
