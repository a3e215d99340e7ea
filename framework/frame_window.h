// FrameWindow: a top-level window of a class of its own, with a menu, whose messages go
// through the derived class's message table. For programs whose main window is not a
// dialog. What the table does not take goes to DefWindowProcW (a handler can ask for it
// first with `return Default();`, which runs it after the handler returns).
//
// Its scale is taken when it is created; WM_DPICHANGED gives it the new scale and the
// suggested rectangle, then OnScaleChanged().
//
// The window is destroyed on WM_CLOSE by the default handling; a class whose end is its
// program's end posts WM_QUIT from its WM_DESTROY handler. The object must outlive its
// window, or destroy it in its own destructor (as for a modeless Dialog).
#pragma once

#include <windows.h>

#include <string>

#include "framework/window.h"

struct FrameWindowClass {
  const wchar_t* name;       // the window class's name, registered once per process
  int iconId = 0;            // icon resource; 0: the system's application icon
  HBRUSH background = nullptr;  // null: the class paints all of its client area itself
};

class FrameWindow : public Window {
 public:
  ~FrameWindow() override;

  // Creates the window (hidden: the caller shows it) with the menu resource `menuId`
  // (0: none) and the Shift_JIS `title`; false on failure.
  bool Create(const FrameWindowClass& windowClass, const std::string& title, int menuId, int width, int height,
              DWORD style = WS_OVERLAPPEDWINDOW, DWORD extendedStyle = 0);

 protected:
  // Sees every message before the table: for messages whose numbers are only known at run
  // time (RegisterWindowMessage), which a static table cannot list. True when it took the
  // message; `result` is then its result.
  virtual bool PreDispatch(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
