// How the map link reaches the helper program: a process started by its full path, its
// window found by its title, messages posted to that window, and a close that waits for the
// process. Win32HelperChannel does it for real; tests hand the link MemoryHelperChannel
// (maplink/testing/), which records what is posted and needs no second process.
#pragma once

#include <windows.h>

#include <string>

class HelperChannel {
 public:
  virtual ~HelperChannel() = default;
  // Whether the program file `path` exists.
  virtual bool ProgramExists(const std::wstring& path) = 0;
  // Starts the program at `path` (by that path only: a search for the bare name would also
  // look in the current directory and along PATH) and waits until it is ready for
  // messages, a few seconds at most. False when it could not be started.
  virtual bool StartProgram(const std::wstring& path) = 0;
  // The helper's window: that of the program started here when there are several (one that
  // ignored an earlier close, another program's), otherwise the first one there is; null
  // when there is none.
  virtual HWND FindHelperWindow() = 0;
  // Posts one message; false when it could not be posted: no window, or its queue is full
  // (Windows keeps at most about 10,000 posted messages per thread).
  virtual bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // After a refused post: gives the program behind `window` a moment to take messages off
  // its queue. False when the window is gone, so waiting longer cannot help.
  virtual bool WaitForQueueRoom(HWND window) = 0;
  // Asks `window` (when there is one) to close, waits a few seconds at most for the program
  // started here to end, and lets go of that program. A helper that hangs or ignores the
  // close is left running: the editor still ends, or starts the next helper.
  virtual void CloseProgram(HWND window) = 0;
};
