#include "framework/clipboard.h"

#include <cstring>

#include "framework/text_encoding.h"

namespace {

// Another program (a clipboard manager, a remote desktop) may hold the clipboard open for a
// moment: a few tries before giving up.
bool OpenClipboardSoon(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (::OpenClipboard(owner)) return true;
    ::Sleep(10);
  }
  return false;
}

class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : m_open(OpenClipboardSoon(owner)) {}
  ~ClipboardScope() {
    if (m_open) ::CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool Open() const { return m_open; }

 private:
  bool m_open;
};

}  // namespace

bool ClipboardHasText() { return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }

std::optional<std::string> ReadClipboardText(HWND owner) {
  ClipboardScope clipboard(owner);
  if (!clipboard.Open()) return std::nullopt;
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
  if (!text) return std::nullopt;
  // The memory's size bounds the text: a program may have put it there without its NUL.
  const std::size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  std::string utf8 = NarrowToUtf8(std::wstring_view(text, length));
  ::GlobalUnlock(data);
  return utf8;
}

bool WriteClipboardText(HWND owner, std::string_view utf8) {
  const std::wstring text = WidenUtf8(utf8);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!memory) return false;
  void* bytes = ::GlobalLock(memory);
  if (!bytes) {
    ::GlobalFree(memory);
    return false;
  }
  std::memcpy(bytes, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  ClipboardScope clipboard(owner);
  // Once SetClipboardData took it, the memory is the clipboard's.
  if (!clipboard.Open() || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory)) {
    ::GlobalFree(memory);
    return false;
  }
  return true;
}
