// A helper channel held in memory, for tests of the map link without a second process: it
// records what is started, posted and closed, and plays the helper's window as the test sets
// it up (there or not, started here or another program's, taking posts or refusing them).
#pragma once

#include <windows.h>

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
  // A helper whose queue takes at most this many posts (0: any number); a full queue
  // refuses posts until the link waits for room, which empties it when the helper drains.
  size_t queueLimit = 0;
  bool helperDrains = true;

  // What happened: the programs started, the messages posted, and, in order, every start
  // ("started") and every close ("closed").
  std::vector<std::wstring> started;
  std::vector<Posted> posted;
  std::vector<HWND> closed;
  std::vector<std::string> events;
  bool running = false;  // the helper started here is up
  size_t queued = 0;     // posts the helper has not taken yet
  int refusals = 0;
  int waits = 0;

  bool ProgramExists(const std::wstring&) override { return programExists; }
  bool StartProgram(const std::wstring& path) override;
  HWND FindHelperWindow() override;
  bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool WaitForQueueRoom(HWND window) override;
  void CloseProgram(HWND window) override;
};
