#include "framework/accelerators.h"

#include <cwchar>

namespace {

thread_local AcceleratorHook* t_active = nullptr;

bool IsEditBox(HWND hwnd) {
  wchar_t className[16] = {};
  ::GetClassNameW(hwnd, className, 16);
  return ::_wcsicmp(className, L"Edit") == 0;
}

bool IsEditingKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !(::GetKeyState(VK_CONTROL) & 0x8000)) return false;
  switch (msg.wParam) {
    case 'Z':
    case 'X':
    case 'C':
    case 'V':
    case 'A':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool AcceleratorHook::Install(HWND target, int tableId) {
  Uninstall();
  m_table = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(tableId));
  if (!m_table) return false;
  m_hook = ::SetWindowsHookExW(WH_MSGFILTER, &AcceleratorHook::FilterProc, nullptr, ::GetCurrentThreadId());
  if (!m_hook) return false;
  m_target = target;
  m_previous = t_active;
  t_active = this;
  return true;
}

void AcceleratorHook::Uninstall() {
  if (!m_hook) return;
  ::UnhookWindowsHookEx(m_hook);
  m_hook = nullptr;
  // Hooks end in any order (windows of tests): take this one out of the chain wherever it is.
  for (AcceleratorHook** link = &t_active; *link; link = &(*link)->m_previous) {
    if (*link == this) {
      *link = m_previous;
      break;
    }
  }
  m_target = nullptr;
  m_previous = nullptr;
}

bool AcceleratorHook::ForTarget(HWND hwnd) const {
  if (!hwnd || !::IsWindowEnabled(m_target)) return false;
  HWND root = ::GetAncestor(hwnd, GA_ROOT);
  return root == m_target || ::GetWindow(root, GW_OWNER) == m_target;
}

bool AcceleratorHook::Translate(MSG& msg) const {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (!ForTarget(msg.hwnd)) return false;
  if (IsEditBox(msg.hwnd) && IsEditingKey(msg)) return false;
  return ::TranslateAcceleratorW(m_target, m_table, &msg) != 0;
}

bool AcceleratorHook::PassToOwnedDialog(MSG& msg) {
  HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (!root || root == m_target || ::GetWindow(root, GW_OWNER) != m_target || !::IsWindowEnabled(m_target))
    return false;
  wchar_t className[16] = {};
  ::GetClassNameW(root, className, 16);
  if (std::wcscmp(className, L"#32770") != 0) return false;
  m_inOwnedDialog = true;
  const bool taken = ::IsDialogMessageW(root, &msg) != FALSE;
  m_inOwnedDialog = false;
  return taken;
}

LRESULT CALLBACK AcceleratorHook::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && t_active && !t_active->m_inOwnedDialog) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if (t_active->Translate(msg) || t_active->PassToOwnedDialog(msg)) return TRUE;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
