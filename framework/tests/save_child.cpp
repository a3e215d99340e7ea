// A second process for the file store's tests:
//   save_child stop STEP PATH   saves 250 points over PATH and ends before call STEP of the
//                               save, as a crash would: nothing is cleaned up
//   save_child hold PATH        opens PATH without sharing and keeps it open until ended
#include <windows.h>

#include <string>

#include "framework/testing/faulty_file_calls.h"
#include "framework/text_encoding.h"
#include "framework/win32_file_store.h"
#include "pointfile/testing/point_images.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"stop" && argc == 4) {
    FaultyFileCalls calls;
    calls.StopAt(std::stoi(argv[2]));
    Win32FileStore store(calls);
    const Image image = ImageWithPoints(250);
    return static_cast<int>(store.Replace(NarrowText(argv[3]), image.data(), image.size()));
  }
  if (mode == L"hold" && argc == 3) {
    // The test reads the file to see when it is held: an open that meets one of those reads
    // is tried again.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 3000 && file == INVALID_HANDLE_VALUE; ++i) {
      file = ::CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
      if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_SHARING_VIOLATION) return 2;
      if (file == INVALID_HANDLE_VALUE) ::Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE) return 2;
    ::Sleep(INFINITE);
  }
  return 3;
}
