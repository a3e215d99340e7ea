#include "framework/window.h"

#include <commctrl.h>

#include <unordered_map>
#include <vector>

#include "framework/text_encoding.h"

namespace {

// Which Window object handles the messages of a window. Kept in the process, not in window
// properties or comctl32's subclass records: both are looked up with GetPropW, which under
// Wine is a round trip to the server for every message a subclassed control receives.
// Windows live on the one user-interface thread, so the map needs no lock.
std::unordered_map<HWND, Window*>& Owners() {
  static std::unordered_map<HWND, Window*> owners;
  return owners;
}

bool IdMatches(const MessageEntry& e, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (e.match) {
    case MessageMatch::kMessage:
      return message == e.message;
    case MessageMatch::kCommand:
      // Menu items send code 0, accelerators 1, and a button's click is BN_CLICKED (0).
      return message == WM_COMMAND && LOWORD(wParam) == e.id && HIWORD(wParam) <= 1;
    case MessageMatch::kControl:
      return message == WM_COMMAND && LOWORD(wParam) == e.id && HIWORD(wParam) == e.code;
    case MessageMatch::kNotify: {
      if (message != WM_NOTIFY) return false;
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header->code == e.code && header->idFrom == e.id;
    }
    case MessageMatch::kReflectedNotify:
      return message == kReflectedNotify &&
             reinterpret_cast<const NMHDR*>(lParam)->code == e.code;
  }
  return false;
}

}  // namespace

Window::~Window() {
  if (m_subclassed && ::IsWindow(m_hwnd)) Unsubclass();
}

void Window::Unsubclass() {
  ::SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
  SetOwner(m_hwnd, nullptr);
  m_subclassed = false;
}

void Window::FollowDpiChange(WPARAM wParam, LPARAM lParam) {
  const DisplayScale previous = m_scale;
  m_scale = DisplayScale(HIWORD(wParam));
  const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
  ::SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_scale != previous) OnScaleChanged(previous);
}

HWND Window::Detach() {
  HWND hwnd = m_hwnd;
  if (m_subclassed && ::IsWindow(hwnd)) Unsubclass();
  m_subclassed = false;
  m_hwnd = nullptr;
  return hwnd;
}

void Window::Bind(HWND hwnd) {
  if (m_hwnd && m_hwnd != hwnd) Detach();
  m_hwnd = hwnd;
  if (GetMessageTable() && hwnd && !m_subclassed) {
    SetOwner(hwnd, this);
    m_originalProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
    m_subclassed = true;
  }
}

void Window::SetOwner(HWND hwnd, Window* window) {
  if (window)
    Owners()[hwnd] = window;
  else
    Owners().erase(hwnd);
}

Window* Window::FromHandle(HWND hwnd) {
  const auto it = Owners().find(hwnd);
  return it == Owners().end() ? nullptr : it->second;
}

RECT Window::ClientRect() const {
  RECT r{};
  ::GetClientRect(m_hwnd, &r);
  return r;
}

RECT Window::WindowRect() const {
  RECT r{};
  ::GetWindowRect(m_hwnd, &r);
  return r;
}

RECT Window::RectInParent() const {
  RECT r = WindowRect();
  ::MapWindowPoints(HWND_DESKTOP, Parent(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Window::Destroy() {
  const bool done = ::DestroyWindow(m_hwnd) != FALSE;
  if (done) m_hwnd = nullptr;
  return done;
}

void Window::SetText(const std::string& text) const {
  ::SetWindowTextW(m_hwnd, WidenText(text).c_str());
}

std::string Window::Text() const {
  const int length = ::GetWindowTextLengthW(m_hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(m_hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return NarrowText(text);
}

void Window::SetItemText(int id, const std::string& text) const {
  ::SetDlgItemTextW(m_hwnd, id, WidenText(text).c_str());
}

std::string Window::ItemText(int id) const { return Window(Item(id)).Text(); }

bool Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  for (const MessageTable* table = GetMessageTable(); table; table = table->base) {
    for (std::size_t i = 0; i < table->count; ++i) {
      const MessageEntry& entry = table->entries[i];
      if (!IdMatches(entry, message, wParam, lParam)) continue;
      // Handlers may send messages that come back here: keep the outer message.
      const CurrentMessage outer = m_current;
      m_current = CurrentMessage{message, wParam, lParam};
      result = entry.call(*this, wParam, lParam);
      const bool handled = !m_current.defaultRequested;
      m_current = outer;
      return handled;
    }
  }
  return false;
}

LRESULT Window::Default() {
  if (m_subclassed) {
    return ::CallWindowProcW(m_originalProc, m_hwnd, m_current.message, m_current.wParam, m_current.lParam);
  }
  m_current.defaultRequested = true;
  return 0;
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = FromHandle(hwnd);
  const WNDPROC original = self->m_originalProc;
  if (message == WM_NCDESTROY) {
    self->Unsubclass();
    self->m_hwnd = nullptr;
    return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  // A control's parent reflects each WM_NOTIFY it receives back to the sender first
  // (Dialog does this); messages the table does not take go to the original procedure.
  LRESULT result = 0;
  if (self->Dispatch(message, wParam, lParam, result)) return result;
  if (message == kReflectedNotify) return 0;
  return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
}
