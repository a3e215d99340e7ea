// The core's file access on Windows: wide paths converted from Shift_JIS, error causes
// from GetLastError, and a save that never leaves a half-written file. Only files on a disk
// are read: a device (CON, COM1, AUX.PNT) could wait for input for ever.
#pragma once

#include <windows.h>

#include <string>

#include "framework/win32_file_calls.h"
#include "pointfile/file_store.h"

class Win32FileStore final : public FileStore {
 public:
  explicit Win32FileStore(Win32FileCalls& calls = RealWin32FileCalls()) : m_calls(calls) {}

  FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override;
  FileCause Replace(const std::string& path, const std::uint8_t* data, std::size_t size) override;
  // Read and Replace for a path already in UTF-16 (one code page 932 may not hold).
  FileCause ReadWide(const std::wstring& path, std::uint8_t* buffer, std::size_t capacity, std::size_t& bytesRead);
  FileCause ReplaceWide(const std::wstring& target, const std::uint8_t* data, std::size_t size);

 private:
  FileCause CreateTemporary(const std::wstring& target, std::wstring& temp, HANDLE& file);
  FileCause WriteTemporary(HANDLE file, const std::uint8_t* data, std::size_t size);
  FileCause PutInPlace(const std::wstring& target, const wchar_t* temp, bool targetExists, bool& keepTemporary);

  Win32FileCalls& m_calls;
};

// The one place where Win32 error codes become the core's file causes.
FileCause FileCauseFromWin32Error(DWORD error);
