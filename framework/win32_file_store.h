// The core's file access on Windows: wide paths converted from Shift_JIS, error causes
// from GetLastError, and a save that never leaves a half-written file.
#pragma once

#include <windows.h>

#include "pointfile/file_store.h"

class Win32FileStore final : public FileStore {
 public:
  FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override;
  FileCause Replace(const std::string& path, const std::uint8_t* data, std::size_t size) override;
};

// The one place where Win32 error codes become the core's file causes.
FileCause FileCauseFromWin32Error(DWORD error);
