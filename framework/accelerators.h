// The keyboard accelerators of a window that the dialog manager runs, modal or modeless.
// The message loop is then not ours, so the table is translated in a message-filter hook:
// the dialog manager hands every message to the hook (IsDialogMessage) before it handles it.
//
// Keys count for the target window, its controls and the modeless windows it owns (a find
// box). They do not while the target is disabled (a modal dialog or box is up), and an edit
// box with the focus keeps its own editing keys (Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A):
// the accelerators that share them act only elsewhere.
//
// The same loop serves the modeless dialogs the target owns, but the dialog manager only
// gives the target its dialog keys (Tab, Enter, Esc); the hook gives theirs to them.
#pragma once

#include <windows.h>

class AcceleratorHook {
 public:
  AcceleratorHook() = default;
  ~AcceleratorHook() { Uninstall(); }
  AcceleratorHook(const AcceleratorHook&) = delete;
  AcceleratorHook& operator=(const AcceleratorHook&) = delete;

  // Translates table `tableId` (ACCELERATORS in the resources) into WM_COMMAND for `target`
  // on this thread; false when the table or the hook could not be had. One hook per thread
  // is active: a second install takes over from the first until it is removed.
  bool Install(HWND target, int tableId);
  void Uninstall();

  // The translation for one message; true when it became a command. The hook's work,
  // public so tests can hand it messages.
  bool Translate(MSG& msg) const;

 private:
  static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
  bool ForTarget(HWND hwnd) const;
  // The dialog keys of a modeless dialog the target owns; true when it took the message.
  bool PassToOwnedDialog(MSG& msg);

  HWND m_target = nullptr;
  HACCEL m_table = nullptr;
  HHOOK m_hook = nullptr;
  AcceleratorHook* m_previous = nullptr;
  bool m_inOwnedDialog = false;  // IsDialogMessage calls the hook again
};
