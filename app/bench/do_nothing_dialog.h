// The dialog procedure of the benchmarks' references: a template shown with no program code,
// closed by OK or Cancel.
#pragma once

#include <windows.h>

inline INT_PTR CALLBACK DoNothingDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    ::EndDialog(hwnd, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}
