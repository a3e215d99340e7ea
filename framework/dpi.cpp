#include "framework/dpi.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up once: older Windows lacks the function, and linking to it would keep the
// program from starting there.
GetDpiForWindowFunction DpiForWindowFunction() {
  static const auto function = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

DisplayScale WindowScale(HWND hwnd) {
  if (const GetDpiForWindowFunction dpiForWindow = DpiForWindowFunction()) {
    if (const UINT dpi = dpiForWindow(hwnd)) return DisplayScale(static_cast<int>(dpi));
  }
  return SystemScale();
}

DisplayScale SystemScale() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return DisplayScale(dpi);
}
