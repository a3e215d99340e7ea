// The Win32 calls the file store makes, behind one small interface: the store is given a
// Win32FileCalls, which is the real system unless a test has put one in its place that fails
// a call or ends the process at it. Each method is the W function it names, with the
// arguments the store uses; failures leave their code in GetLastError as the real ones do.
#pragma once

#include <windows.h>

class Win32FileCalls {
 public:
  virtual ~Win32FileCalls() = default;

  virtual DWORD GetAttributes(const wchar_t* path);                              // GetFileAttributesW
  virtual HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition);  // CreateFileW
  virtual DWORD GetType(HANDLE file);                                            // GetFileType
  virtual BOOL Read(HANDLE file, void* buffer, DWORD size, DWORD* got);          // ReadFile
  virtual BOOL Write(HANDLE file, const void* data, DWORD size, DWORD* written);  // WriteFile
  virtual BOOL Flush(HANDLE file);                                               // FlushFileBuffers
  virtual BOOL GetSize(HANDLE file, LARGE_INTEGER* size);                        // GetFileSizeEx
  virtual BOOL Close(HANDLE file);                                               // CloseHandle
  virtual BOOL Move(const wchar_t* from, const wchar_t* to, DWORD flags);        // MoveFileExW
  virtual BOOL ReplaceWith(const wchar_t* target, const wchar_t* replacement);    // ReplaceFileW
  virtual BOOL Remove(const wchar_t* path);                                      // DeleteFileW
};

// The real calls.
Win32FileCalls& RealWin32FileCalls();
