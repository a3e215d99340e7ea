#include "framework/dialog.h"

#include <algorithm>
#include <cstring>

#include "framework/dialog_init_hooks.h"
#include "framework/dpi.h"
#include "framework/text_encoding.h"

void DataExchange::Control(int id, Window& control) {
  if (m_saving) return;
  HWND item = m_dialog.Item(id);
  // A dialog object run again gets new controls; its members must follow them.
  if (control.Handle() != item) control.Bind(item);
}

void DataExchange::Text(int id, std::string& value) {
  if (m_saving)
    value = m_dialog.ItemText(id);
  else
    m_dialog.SetItemText(id, value);
}

Dialog::~Dialog() {
  // A modeless dialog destroyed with its object: the window must not call back into it.
  if (!m_modal && ::IsWindow(m_hwnd)) {
    ::SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
    SetOwner(m_hwnd, nullptr);
    ::DestroyWindow(m_hwnd);
  }
}

INT_PTR Dialog::DoModal() {
  m_modal = true;
  const INT_PTR result =
      ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_parent,
                        &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
  m_modal = false;
  return result;
}

bool Dialog::Create(HWND parent) {
  m_modal = false;
  m_parent = parent;
  HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                   parent, &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
  if (m_modal)
    ::EndDialog(m_hwnd, result);
  else
    ::DestroyWindow(m_hwnd);
}

void Dialog::UpdateData(bool save) {
  DataExchange exchange(*this, save);
  DoDataExchange(exchange);
}

BOOL Dialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void Dialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT Dialog::Default() {
  // The dialog manager's default processing runs when the procedure returns FALSE, so a
  // handler that asks for it gets it after it returns, not before.
  m_current.defaultRequested = true;
  return 0;
}

void Dialog::CentreOnOwner() const {
  if (::GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_CHILD) return;
  // Over the owner when it is visible and not minimised, else over the work area of the
  // monitor the dialog is on.
  RECT area;
  HWND owner = ::GetWindow(m_hwnd, GW_OWNER);
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const RECT r = WindowRect();
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int x = std::max<int>(area.left, area.left + (area.right - area.left - width) / 2);
  const int y = std::max<int>(area.top, area.top + (area.bottom - area.top - height) / 2);
  ::SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::RouteNotify(LPARAM lParam, LRESULT& result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (Window* control = FromHandle(header->hwndFrom); control && control != this) {
    if (control->Dispatch(kReflectedNotify, 0, lParam, result)) return true;
  }
  return Dispatch(WM_NOTIFY, 0, lParam, result);
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->m_hwnd = hwnd;
    SetOwner(hwnd, self);
  } else {
    self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT, a first WM_SIZE) find no object yet.
  if (!self) return FALSE;
  const INT_PTR handled = self->DialogProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetOwner(hwnd, nullptr);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->m_hwnd = nullptr;
  }
  return handled;
}

INT_PTR Dialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    m_scale = WindowScale(m_hwnd);
    const RECT before = WindowRect();
    const BOOL focusDefault = OnInitDialog();
    const RECT after = WindowRect();
    if (std::memcmp(&before, &after, sizeof before) == 0) CentreOnOwner();
    RunDialogInitHooks(*this);
    return focusDefault;
  }
  if (message == WM_DPICHANGED) {
    FollowDpiChange(wParam, lParam);
    return TRUE;
  }
  LRESULT result = 0;
  bool handled;
  if (message == WM_NOTIFY) {
    handled = RouteNotify(lParam, result);
  } else {
    handled = Dispatch(message, wParam, lParam, result);
    if (!handled && message == WM_COMMAND && HIWORD(wParam) <= 1) {
      if (LOWORD(wParam) == IDOK) {
        OnOK();
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
    }
  }
  if (!handled) return FALSE;
  switch (message) {
    // These few return their result straight from the dialog procedure instead of
    // through DWLP_MSGRESULT (see the DialogProc documentation).
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return static_cast<INT_PTR>(result);
    default:
      ::SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
      return TRUE;
  }
}
