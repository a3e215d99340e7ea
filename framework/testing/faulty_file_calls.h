// The real Win32 file calls, except that they are counted, that a write takes at most
// kWriteChunk bytes (so a save makes several, each a step of its own), and that one chosen
// call fails with a chosen error or ends the process before it runs, as a crash would.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win32_file_calls.h"

class FaultyFileCalls : public Win32FileCalls {
 public:
  static constexpr DWORD kWriteChunk = 16384;
  static constexpr UINT kStoppedStatus = 42;

  void FailAt(int step, DWORD error) { m_failAt = step, m_error = error; }
  void FailRemove() { m_failRemove = true; }
  void StopAt(int step) { m_stopAt = step; }
  const std::vector<std::string>& Steps() const { return m_steps; }

  DWORD GetAttributes(const wchar_t* path) override {
    return Go("GetFileAttributes") ? Win32FileCalls::GetAttributes(path) : INVALID_FILE_ATTRIBUTES;
  }
  HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) override {
    return Go("CreateFile") ? Win32FileCalls::Open(path, access, share, disposition) : INVALID_HANDLE_VALUE;
  }
  DWORD GetType(HANDLE file) override { return Go("GetFileType") ? Win32FileCalls::GetType(file) : FILE_TYPE_UNKNOWN; }
  BOOL Read(HANDLE file, void* buffer, DWORD size, DWORD* got) override {
    return Go("ReadFile") && Win32FileCalls::Read(file, buffer, std::min(size, kWriteChunk), got);
  }
  BOOL Write(HANDLE file, const void* data, DWORD size, DWORD* written) override {
    return Go("WriteFile") && Win32FileCalls::Write(file, data, std::min(size, kWriteChunk), written);
  }
  BOOL Flush(HANDLE file) override { return Go("FlushFileBuffers") && Win32FileCalls::Flush(file); }
  BOOL GetSize(HANDLE file, LARGE_INTEGER* size) override {
    return Go("GetFileSizeEx") && Win32FileCalls::GetSize(file, size);
  }
  BOOL Close(HANDLE file) override {
    // Like the real call, a failing one still releases the handle.
    const bool go = Go("CloseHandle");
    const BOOL closed = Win32FileCalls::Close(file);
    if (!go) ::SetLastError(m_error);
    return go && closed;
  }
  BOOL Move(const wchar_t* from, const wchar_t* to, DWORD flags) override {
    return Go("MoveFileEx") && Win32FileCalls::Move(from, to, flags);
  }
  BOOL ReplaceWith(const wchar_t* target, const wchar_t* replacement) override {
    return Go("ReplaceFile") && Win32FileCalls::ReplaceWith(target, replacement);
  }
  BOOL Remove(const wchar_t* path) override {
    if (m_failRemove) {
      m_steps.push_back("DeleteFile");
      ::SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    return Go("DeleteFile") && Win32FileCalls::Remove(path);
  }

 private:
  bool Go(const char* name) {
    m_steps.push_back(name);
    const int step = static_cast<int>(m_steps.size());
    if (step == m_stopAt) ::TerminateProcess(::GetCurrentProcess(), kStoppedStatus);
    if (step != m_failAt) return true;
    ::SetLastError(m_error);
    return false;
  }

  std::vector<std::string> m_steps;
  int m_failAt = 0;
  DWORD m_error = 0;
  int m_stopAt = 0;
  bool m_failRemove = false;
};
