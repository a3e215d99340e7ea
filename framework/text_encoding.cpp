#include "framework/text_encoding.h"

#include <windows.h>

namespace {

constexpr UINT kShiftJis = 932;

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
  return wide;
}

// `defaultChar` stands for what the code page cannot hold (UTF-8 holds everything and takes none).
std::string Narrow(UINT codePage, std::wstring_view text, const char* defaultChar) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, defaultChar, nullptr);
  std::string narrow(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), needed, defaultChar, nullptr);
  return narrow;
}

}  // namespace

std::wstring WidenText(std::string_view sjis) { return Widen(kShiftJis, sjis); }

std::string NarrowText(std::wstring_view text) { return Narrow(kShiftJis, text, "?"); }

std::optional<std::string> NarrowExactly(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  // Without WC_NO_BEST_FIT_CHARS the conversion would quietly turn, say, a full-width
  // letter missing from the table into a similar ASCII one, naming a different file.
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                           nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string narrow(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), length, narrow.data(),
                        needed, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  // Round trip as a last check: code page 932 maps a few characters one way only.
  if (WidenText(narrow) != text) return std::nullopt;
  return narrow;
}

std::wstring WidenUtf8(std::string_view utf8) { return Widen(CP_UTF8, utf8); }

std::string NarrowToUtf8(std::wstring_view text) { return Narrow(CP_UTF8, text, nullptr); }

std::string UnrepresentablePathText(std::wstring_view path) {
  // Appended piece by piece: g++ 12 warns wrongly (-Wrestrict) about "literal" + a temporary.
  std::string text = "\"";
  text += NarrowText(path);
  text += "\"\n\nこのファイル名には Shift_JIS で表せない文字が含まれているため開けません。"
          "\nファイル名を変えてから開いてください。";
  return text;
}

std::string LoadResourceString(unsigned id) {
  // With a zero length LoadStringW hands out a pointer to the resource's own text.
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? NarrowText(std::wstring_view(text, static_cast<size_t>(length))) : std::string();
}
