// Window: a non-owning handle wrapper with one-line helpers, and the place where a class's
// message table is searched. Destroying the object never destroys the window.
//
// A Window bound to a control with Bind() subclasses it when its class has a message table
// (so the control's own messages reach the table); otherwise it only remembers the handle.
#pragma once

#include <windows.h>

#include <string>

#include "framework/display_scale.h"
#include "framework/message_table.h"

class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : m_hwnd(hwnd) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return m_hwnd; }
  operator HWND() const { return m_hwnd; }
  void Attach(HWND hwnd) { m_hwnd = hwnd; }
  HWND Detach();
  // Attaches, and subclasses the window when this class has a message table.
  void Bind(HWND hwnd);
  // The Window object bound to or owning `hwnd`, if any.
  static Window* FromHandle(HWND hwnd);

  bool IsWindow() const { return m_hwnd && ::IsWindow(m_hwnd); }
  HWND Item(int id) const { return ::GetDlgItem(m_hwnd, id); }
  int ControlId() const { return ::GetDlgCtrlID(m_hwnd); }
  HWND Parent() const { return ::GetParent(m_hwnd); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hwnd, message, wParam, lParam);
  }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hwnd, message, wParam, lParam) != FALSE;
  }
  bool PostCommand(int id) const { return Post(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

  bool Show(int command) const { return ::ShowWindow(m_hwnd, command) != FALSE; }
  bool IsVisible() const { return ::IsWindowVisible(m_hwnd) != FALSE; }
  bool Enable(bool enable) const { return ::EnableWindow(m_hwnd, enable) != FALSE; }
  bool IsEnabled() const { return ::IsWindowEnabled(m_hwnd) != FALSE; }
  bool IsIconic() const { return ::IsIconic(m_hwnd) != FALSE; }
  bool Move(int x, int y, int width, int height, bool repaint = true) const {
    return ::MoveWindow(m_hwnd, x, y, width, height, repaint) != FALSE;
  }
  bool Move(const RECT& r, bool repaint = true) const {
    return Move(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
  }
  RECT ClientRect() const;
  RECT WindowRect() const;  // screen coordinates
  RECT RectInParent() const;  // the window rectangle in its parent's client coordinates
  POINT ScreenToClient(POINT p) const { ::ScreenToClient(m_hwnd, &p); return p; }
  POINT ClientToScreen(POINT p) const { ::ClientToScreen(m_hwnd, &p); return p; }
  void Invalidate(bool erase = true) const { ::InvalidateRect(m_hwnd, nullptr, erase); }
  void Update() const { ::UpdateWindow(m_hwnd); }
  bool SetFocus() const { return ::SetFocus(m_hwnd) != nullptr; }
  HMENU GetMenu() const { return ::GetMenu(m_hwnd); }
  bool Destroy();

  // Texts are Shift_JIS; the window gets and gives UTF-16.
  void SetText(const std::string& text) const;
  std::string Text() const;
  void SetItemText(int id, const std::string& text) const;
  std::string ItemText(int id) const;

  // The scale the window sizes its own pixels by: a top-level window takes its monitor's
  // when it is created and follows WM_DPICHANGED; a control is given its owner's.
  DisplayScale Scale() const { return m_scale; }
  int ScaledPixels(int pixels96) const { return m_scale.Pixels(pixels96); }
  void SetScale(DisplayScale scale) { m_scale = scale; }

  // Runs the message table for one message. True when a handler took it; `result` is then
  // the handler's result. Used by the window procedures; tests call it through messages.
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Windows without a table return null; see OSTREL_MESSAGE_TABLE.
  static constexpr const MessageTable* MessageTableOfClass() { return nullptr; }

 protected:
  virtual const MessageTable* GetMessageTable() const { return nullptr; }
  // Inside a handler: the handling the window would have had without it. For a
  // subclassed control this calls the original procedure now and returns its result; for
  // a dialog it lets the dialog manager handle the message after the handler returns.
  virtual LRESULT Default();
  // A top-level window came to a monitor of another DPI, and already has its new scale and
  // the rectangle the system suggested: it sizes again what it sized in pixels.
  virtual void OnScaleChanged(DisplayScale /*previous*/) {}
  // WM_DPICHANGED: the new scale, the suggested rectangle, then OnScaleChanged.
  void FollowDpiChange(WPARAM wParam, LPARAM lParam);
  // The message being dispatched, for Default().
  struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool defaultRequested = false;
  };
  CurrentMessage m_current;
  HWND m_hwnd = nullptr;
  DisplayScale m_scale;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();
  bool m_subclassed = false;
  WNDPROC m_originalProc = nullptr;  // the control's own procedure while subclassed
  friend class Dialog;
  static void SetOwner(HWND hwnd, Window* window);
};
