// What each in-process benchmark of the editor starts with: the common controls registered
// as the program registers them, the prompts scripted (no box waits for anyone), a scratch
// directory, and the main window created and shown.
//   BenchSession session(argc, argv);   // argv[1]: how many runs of each step (30)
//   if (!session.Start()) return 1;
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "framework/testing/gui_test_support.h"
#include "framework/testing/scripted_prompter.h"
#include "app/main_dialog.h"

struct BenchSession {
  BenchSession(int argc, char** argv) : runs(argc > 1 ? std::max(1, std::atoi(argv[1])) : 30) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  bool Start() {
    if (!window.Create(nullptr)) return false;
    window.Show(SW_SHOW);
    return true;
  }

  int runs;
  ScriptedPrompter prompts;
  ScopedPrompter usePrompts{prompts};
  TempDirectory dir;
  MainDialog window{""};
};
