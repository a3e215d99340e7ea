#include "framework/text_encoding.h"

#include <windows.h>

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

std::wstring WidenText(std::string_view sjis) {
  if (sjis.empty()) return {};
  const int length = static_cast<int>(sjis.size());
  const int needed = ::MultiByteToWideChar(kShiftJis, 0, sjis.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(kShiftJis, 0, sjis.data(), length, wide.data(), needed);
  return wide;
}

std::string NarrowText(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      ::WideCharToMultiByte(kShiftJis, 0, text.data(), length, nullptr, 0, "?", nullptr);
  std::string narrow(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(kShiftJis, 0, text.data(), length, narrow.data(), needed, "?", nullptr);
  return narrow;
}

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

std::wstring WidenUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
  return wide;
}

std::string NarrowToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

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
