// The clipboard's text. Inside, the text is UTF-8 (what the exchange library reads and
// writes); outside it is CF_UNICODETEXT, which every program pastes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Whether the clipboard holds text (Windows makes CF_UNICODETEXT of the other text formats).
bool ClipboardHasText();
// The clipboard's text as UTF-8, up to its first NUL; nothing when it holds no text or
// another program keeps it open.
std::optional<std::string> ReadClipboardText(HWND owner);
// Puts `utf8` on the clipboard as its only content; false when the clipboard cannot be had.
bool WriteClipboardText(HWND owner, std::string_view utf8);
