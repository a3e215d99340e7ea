// A main window created for a test: modeless, in a temporary directory, with the prompts
// scripted and the helper program's presence chosen by the test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/testing/gui_test_support.h"
#include "framework/testing/scripted_prompter.h"
#include "app/main_dialog.h"
#include "pointfile/point_file.h"

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // A main window started with `commandLine`; null (with a failure) when it did not open.
  MainDialog& Start(const std::string& commandLine = "");
  // A point file with `count` points named P1, P2 ... in the temporary directory.
  std::string MakePointFile(const std::string& name, int count);
  // Puts an empty Quorvin2.exe beside the test program (removed again at the end).
  void InstallHelper();
  // A control's rectangle in the main window's client coordinates.
  RECT ControlRect(int id) const;
  bool ControlVisible(int id) const;
  // Resizes the main window so that its client area is `width` x `height`.
  void SetClientSize(int width, int height);

  TempDirectory m_dir;
  ScriptedPrompter m_prompts;
  ScopedPrompter m_usePrompts{m_prompts};
  std::unique_ptr<MainDialog> m_dialog;

 private:
  std::string m_helperPath;
};

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
