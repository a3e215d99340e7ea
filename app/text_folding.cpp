#include "app/text_folding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "pointfile/shift_jis.h"

namespace {

// Half-width katakana and signs 0xA1-0xDF as their full-width Shift_JIS codes.
constexpr std::array<char16_t, 63> kFullWidthKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385,
    0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352,
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384,
    0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};
constexpr unsigned char kHalfWidthVoiced = 0xDE;
constexpr unsigned char kHalfWidthSemiVoiced = 0xDF;

// Full-width signs of row 1 with an ASCII form, sorted by code.
struct SignFold {
  char16_t code;
  char ascii;
};
constexpr SignFold kFullWidthSigns[] = {
    {0x8140, ' '}, {0x8143, ','}, {0x8144, '.'}, {0x8146, ':'}, {0x8147, ';'}, {0x8148, '?'}, {0x8149, '!'},
    {0x814D, '`'}, {0x814F, '^'}, {0x8151, '_'}, {0x815E, '/'}, {0x815F, '\\'}, {0x8160, '~'}, {0x8162, '|'},
    {0x8169, '('}, {0x816A, ')'}, {0x816D, '['}, {0x816E, ']'}, {0x816F, '{'}, {0x8170, '}'}, {0x817B, '+'},
    {0x817C, '-'}, {0x8181, '='}, {0x8183, '<'}, {0x8184, '>'}, {0x8190, '$'}, {0x8193, '%'}, {0x8194, '#'},
    {0x8195, '&'}, {0x8196, '*'}, {0x8197, '@'}};

constexpr char16_t kHiraganaFirst = 0x829F, kHiraganaLast = 0x82F1;
constexpr char16_t kKatakanaFirst = 0x8340, kKatakanaGap = 0x837F;  // no character at the gap
constexpr char16_t kKatakanaU = 0x8345, kKatakanaVu = 0x8394;

char16_t Lower(char16_t ascii) { return ascii >= 'A' && ascii <= 'Z' ? ascii + ('a' - 'A') : ascii; }

char16_t FoldDoubleByte(char16_t code) {
  if (code >= 0x824F && code <= 0x8258) return u'0' + (code - 0x824F);
  if (code >= 0x8260 && code <= 0x8279) return u'a' + (code - 0x8260);
  if (code >= 0x8281 && code <= 0x829A) return u'a' + (code - 0x8281);
  if (code >= kHiraganaFirst && code <= kHiraganaLast) {
    const char16_t katakana = kKatakanaFirst + (code - kHiraganaFirst);
    return katakana >= kKatakanaGap ? katakana + 1 : katakana;
  }
  const auto sign = std::lower_bound(std::begin(kFullWidthSigns), std::end(kFullWidthSigns), code,
                                     [](const SignFold& s, char16_t c) { return s.code < c; });
  if (sign != std::end(kFullWidthSigns) && sign->code == code) return static_cast<char16_t>(sign->ascii);
  return code;
}

// The katakana `base` with a voiced (or semi-voiced) mark, or 0 when it takes none.
char16_t Voiced(char16_t base, bool semi) {
  // カ to ト in pairs (ッ and ツ aside), ハ to ホ in threes.
  if (!semi && base == kKatakanaU) return kKatakanaVu;
  if (!semi && base >= 0x834A && base <= 0x8367 && base != 0x8362) {
    const bool plain = base <= 0x8360 ? (base - 0x834A) % 2 == 0 : base >= 0x8363 && (base - 0x8363) % 2 == 0;
    return plain ? base + 1 : 0;
  }
  if (base >= 0x836E && base <= 0x837A && (base - 0x836E) % 3 == 0) return base + (semi ? 2 : 1);
  return 0;
}

template <class Fold>
std::u16string Units(std::string_view sjis, Fold fold) {
  std::u16string units;
  units.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size(); ++i) {
    const auto byte = static_cast<unsigned char>(sjis[i]);
    if (IsShiftJisLeadByte(byte) && i + 1 < sjis.size())
      units.push_back(fold(static_cast<char16_t>(byte << 8 | static_cast<unsigned char>(sjis[++i])), units));
    else
      units.push_back(fold(static_cast<char16_t>(byte), units));
  }
  return units;
}

}  // namespace

std::u16string TextUnits(std::string_view sjis) {
  return Units(sjis, [](char16_t unit, const std::u16string&) { return unit; });
}

std::u16string FoldText(std::string_view sjis) {
  std::u16string folded = Units(sjis, [](char16_t unit, std::u16string& done) -> char16_t {
    if (unit >= 0x100) return FoldDoubleByte(unit);
    if (unit < 0xA1 || unit > 0xDF) return Lower(unit);
    if ((unit == kHalfWidthVoiced || unit == kHalfWidthSemiVoiced) && !done.empty()) {
      if (const char16_t voiced = Voiced(done.back(), unit == kHalfWidthSemiVoiced)) {
        done.pop_back();
        return voiced;
      }
    }
    return kFullWidthKana[unit - 0xA1];
  });
  return folded;
}
