// A helper channel held in memory, for tests of the map link without a second process: it
// records what is started, posted and closed, and plays the helper's window as the test sets
// it up (there or not, started here or another program's, taking posts or refusing them).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "maplink/helper_channel.h"

class MemoryHelperChannel final : public HelperChannel {
 public:
  struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  // The helper's window once a start succeeded, and one that another program started.
  static inline const HWND kStartedWindow = reinterpret_cast<HWND>(0x5a01);
  static inline const HWND kOtherWindow = reinterpret_cast<HWND>(0x5a02);

  // What the test sets up.
  bool programExists = true;
  bool otherHelperRunning = false;
  // The helper's queue: posts past `queueLimit` messages are refused; a wait empties it
  // unless the helper is stuck.
  std::size_t queueLimit = SIZE_MAX;
  bool helperDrains = true;
  std::size_t queued = 0;
  int waits = 0;

  // What happened: the programs started, the messages posted, and, in order, every start
  // ("started") and every close ("closed").
  std::vector<std::wstring> started;
  std::vector<Posted> posted;
  std::vector<HWND> closed;
  std::vector<std::string> events;
  bool running = false;  // the helper started here is up

  bool ProgramExists(const std::wstring&) override { return programExists; }
  bool StartProgram(const std::wstring& path) override;
  HWND FindHelperWindow() override;
  bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void WaitForHelper(HWND window) override;
  void CloseProgram(HWND window) override;
};
