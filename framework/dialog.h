// Dialog: a dialog from a template id, modal (DoModal) or modeless (Create), whose
// messages go through the class's message table. One static dialog procedure finds the
// object (passed at creation, kept in DWLP_USER) and dispatches.
//
// Fixed routes, as a dialog's users expect them:
//   WM_INITDIALOG                -> OnInitDialog() (which exchanges data first), then the
//                                   dialog is centred on its owner unless it was moved
//   WM_COMMAND IDOK / IDCANCEL   -> OnOK() / OnCancel(), unless the table has an entry
//   Esc and the close box arrive as IDCANCEL (the dialog manager turns WM_CLOSE into it).
//   WM_DPICHANGED                -> the new scale and the suggested rectangle, then
//                                   OnScaleChanged() (the scale is taken before
//                                   OnInitDialog(), too)
//   WM_NOTIFY                    -> first to the sending control's own table (reflected),
//                                   then to this table
#pragma once

#include <windows.h>

#include <string>

#include "framework/window.h"

class Dialog;

// Moves data between a dialog's controls and its members, one direction per run.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}
  bool Saving() const { return m_saving; }
  // Binds (and, for a class with a message table, subclasses) control `id`.
  void Control(int id, Window& control);
  // The control's text <-> `value` (Shift_JIS).
  void Text(int id, std::string& value);

 private:
  Dialog& m_dialog;
  bool m_saving;
};

// A modeless dialog still open when its object is destroyed is destroyed by ~Dialog, after
// the derived class's members are gone: a derived class whose handlers use its members
// destroys the window in its own destructor.
class Dialog : public Window {
 public:
  explicit Dialog(int templateId, HWND parent = nullptr) : m_templateId(templateId), m_parent(parent) {}
  ~Dialog() override;

  int TemplateId() const { return m_templateId; }
  void SetParentWindow(HWND parent) { m_parent = parent; }
  // Runs the dialog in its own message loop and returns what EndDialog was given
  // (-1 when the template could not be loaded).
  INT_PTR DoModal();
  // Creates the dialog modeless; false when the template could not be loaded.
  bool Create(HWND parent);
  bool IsModal() const { return m_modal; }
  // Ends a modal dialog's loop with `result`; destroys a modeless dialog.
  void EndDialog(INT_PTR result);
  // true: controls -> members; false: members -> controls.
  void UpdateData(bool save);
  // Control `id` enabled or disabled, shown or hidden.
  void EnableItem(int id, bool enable) const { ::EnableWindow(Item(id), enable); }
  void ShowItem(int id, bool show) const { ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }

  // The handlers; public so tests and owners can drive them as the dialog manager would.
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  virtual void DoDataExchange(DataExchange&) {}
  LRESULT Default() override;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
  bool RouteNotify(LPARAM lParam, LRESULT& result);
  // After initialisation, unless OnInitDialog placed the dialog itself.
  void CentreOnOwner() const;

  int m_templateId;
  HWND m_parent;
  bool m_modal = false;
};
