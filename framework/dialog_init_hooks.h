// A hook for tests: run code when a dialog of a given template has been initialised,
// before it is shown. A test that sends a command which opens a modal dialog installs a
// hook first; the hook fills the dialog's controls and posts IDOK or IDCANCEL, and the
// dialog's own modal loop then handles that as if the user had pressed the button.
//
//   ScopedDialogInitHook hook(IDD_POINT_EDIT, [](Dialog& d) {
//     d.SetItemText(IDC_NAME, "名前");
//     d.PostCommand(IDOK);
//   });
//
// The program itself installs none. Hooks are kept until their scope ends; one per
// template id (a later hook replaces an earlier one).
#pragma once

#include <functional>

class Dialog;

using DialogInitHook = std::function<void(Dialog&)>;

class ScopedDialogInitHook {
 public:
  ScopedDialogInitHook(int templateId, DialogInitHook hook);
  ~ScopedDialogInitHook();
  ScopedDialogInitHook(const ScopedDialogInitHook&) = delete;
  ScopedDialogInitHook& operator=(const ScopedDialogInitHook&) = delete;
  // How many dialogs of the template the hook has seen.
  int Calls() const;

 private:
  int m_templateId;
};

// Called by Dialog after OnInitDialog.
void RunDialogInitHooks(Dialog& dialog);
