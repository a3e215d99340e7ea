// Helpers for in-process GUI tests under Wine: the program's messages driven for real.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// Handles the messages waiting in this thread's queue (posted commands, paints), then
// returns. Modal loops started by a handler run inside as they would for a user.
void PumpMessages();

// A WM_DROPFILES handle holding `paths` (UTF-16, as Explorer gives them), dropped at
// `point` in client coordinates. The window that receives it releases it (DragFinish).
HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT point = {10, 10});

// A fresh directory under the system's temporary directory, removed with its files
// when the object goes out of scope. Its path is in Shift_JIS with a trailing backslash.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  const std::string& Path() const { return m_path; }
  std::wstring WidePath() const;
  // Path() + name.
  std::string File(const std::string& name) const { return m_path + name; }

 private:
  std::string m_path;
};

// Writes `bytes` to a Shift_JIS path; false on failure.
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
// The file's bytes; empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// The names in a directory (Shift_JIS, with a trailing backslash), sorted: a temporary file
// left behind shows up here.
std::vector<std::string> NamesIn(const std::string& dir);
// What the screen shows of `window` (frame included, after it has painted), as a 24-bit BMP
// file at `path` (Shift_JIS); false on failure.
bool SaveScreenPicture(HWND window, const std::string& path);
// The manifest a program carries (resource 1 of type RT_MANIFEST), read from its file
// (`path`, Shift_JIS); empty when it has none or cannot be read.
std::string ProgramManifest(const std::string& path);
// The directory of the running test program, Shift_JIS, with a trailing backslash.
std::string ProgramDirectory();
