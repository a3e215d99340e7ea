#include "framework/frame_window.h"

#include "framework/dpi.h"
#include "framework/text_encoding.h"

FrameWindow::~FrameWindow() {
  if (::IsWindow(m_hwnd)) {
    // The window must not call back into a half-destroyed object.
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hwnd);
  }
}

bool FrameWindow::Create(const FrameWindowClass& windowClass, const std::string& title, int menuId, int width,
                         int height, DWORD style, DWORD extendedStyle) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof existing};
  if (!::GetClassInfoExW(instance, windowClass.name, &existing)) {
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &FrameWindow::StaticWindowProc;
    wc.hInstance = instance;
    wc.hIcon = windowClass.iconId ? ::LoadIconW(instance, MAKEINTRESOURCEW(windowClass.iconId))
                                  : ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (!::RegisterClassExW(&wc)) return false;
  }
  const HMENU menu = menuId ? ::LoadMenuW(instance, MAKEINTRESOURCEW(menuId)) : nullptr;
  const HWND hwnd = ::CreateWindowExW(extendedStyle, windowClass.name, WidenText(title).c_str(), style,
                                      CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, menu, instance, this);
  if (!hwnd && menu) ::DestroyMenu(menu);
  return hwnd != nullptr;
}

LRESULT CALLBACK FrameWindow::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FrameWindow* self;
  if (message == WM_NCCREATE) {
    // The object comes with the first message; the handle is known from here on, so the
    // table sees WM_CREATE and everything after it.
    self = static_cast<FrameWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->m_hwnd = hwnd;
    self->m_scale = WindowScale(hwnd);
  } else {
    self = reinterpret_cast<FrameWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  // WM_GETMINMAXINFO comes before WM_NCCREATE.
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_DPICHANGED) {
    self->FollowDpiChange(wParam, lParam);
    return 0;
  }
  LRESULT result = 0;
  const bool handled =
      self->PreDispatch(message, wParam, lParam, result) || self->Dispatch(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
  }
  return handled ? result : ::DefWindowProcW(hwnd, message, wParam, lParam);
}
