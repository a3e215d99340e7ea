// Texts as find and sort compare them. A Shift_JIS text becomes one unit per character (a
// single byte as it is, a double-byte character as lead * 256 + trail), so a search never
// matches across a character's two bytes, and units compare in the order of their codes.
// Folding makes the forms a user does not tell apart the same: hiragana become katakana,
// half-width katakana become full-width (a following voiced mark joins them: ｶﾞ is ガ),
// full-width letters, digits and signs become ASCII, and letters lower case. The katakana
// codes follow the kana table, so folded readings sort in its order.
#pragma once

#include <string>
#include <string_view>

// The units of `sjis`, unchanged.
std::u16string TextUnits(std::string_view sjis);
// The units of `sjis`, folded.
std::u16string FoldText(std::string_view sjis);
