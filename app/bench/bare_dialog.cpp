// The reference for the start-up benchmark: the least a Win32 dialog program does — one
// modal dialog from a template, common controls registered, nothing loaded. Built twice:
// with a one-button template (the reference), and with the main window's own template and
// resources (how much of the start-up the template alone costs).
#include <windows.h>
#include <commctrl.h>

#include "app/bench/do_nothing_dialog.h"

#ifndef BENCH_TEMPLATE_ID
#define BENCH_TEMPLATE_ID 1
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  ::DialogBoxParamW(instance, MAKEINTRESOURCEW(BENCH_TEMPLATE_ID), nullptr, &DoNothingDialogProc, 0);
  return 0;
}
