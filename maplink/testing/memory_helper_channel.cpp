#include "maplink/testing/memory_helper_channel.h"

bool MemoryHelperChannel::StartProgram(const std::wstring& path) {
  if (!programExists) return false;
  started.push_back(path);
  events.push_back("started");
  running = true;
  return true;
}

HWND MemoryHelperChannel::FindHelperWindow() {
  if (running) return kStartedWindow;
  return otherHelperRunning ? kOtherWindow : nullptr;
}

bool MemoryHelperChannel::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (queueLimit != 0 && queued >= queueLimit) {
    ++refusals;
    return false;
  }
  posted.push_back({window, message, wParam, lParam});
  ++queued;
  return true;
}

bool MemoryHelperChannel::WaitForQueueRoom(HWND) {
  ++waits;
  if (helperDrains) queued = 0;
  return true;
}

void MemoryHelperChannel::CloseProgram(HWND window) {
  if (!window) return;
  closed.push_back(window);
  events.push_back("closed");
  if (window == kStartedWindow) running = false;
}
