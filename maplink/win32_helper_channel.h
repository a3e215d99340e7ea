// The helper channel on Win32: CreateProcessW, FindWindowExW and PostMessageW, in UTF-16 all
// the way, so that a directory whose name code page 932 cannot spell still finds its helper.
#pragma once

#include "maplink/helper_channel.h"

class Win32HelperChannel final : public HelperChannel {
 public:
  Win32HelperChannel() = default;
  ~Win32HelperChannel() override;
  Win32HelperChannel(const Win32HelperChannel&) = delete;
  Win32HelperChannel& operator=(const Win32HelperChannel&) = delete;

  bool ProgramExists(const std::wstring& path) override;
  bool StartProgram(const std::wstring& path) override;
  HWND FindHelperWindow() override;
  bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool WaitForQueueRoom(HWND window) override;
  void CloseProgram(HWND window) override;

 private:
  void ReleaseProcess();
  PROCESS_INFORMATION m_process{};
};
