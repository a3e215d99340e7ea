#include "exchange/coordinate_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// What the parser below reads: ASCII with one mark per unit.
constexpr char kDegreeMark = '*';
constexpr char kMinuteMark = '\'';
constexpr char kSecondMark = '"';

struct Spelling {
  std::string_view text;  // UTF-8
  std::string_view ascii;
};

// The other ways the marks, signs and hemispheres are written. Full-width ASCII (U+FF01 to
// U+FF5E) is handled apart, by its fixed distance from ASCII.
constexpr Spelling kSpellings[] = {
    {"\u00B0", "*"},  {"\u00BA", "*"},  {"\u02DA", "*"},  {"\u5EA6", "*"},   // ° º ˚ 度
    {"\u2032", "'"},  {"\u2019", "'"},  {"\u00B4", "'"},  {"\u5206", "'"},   // ′ ’ ´ 分
    {"\u2033", "\""}, {"\u201D", "\""}, {"\u79D2", "\""},                    // ″ ” 秒
    {"\u2212", "-"},  {"\u3000", " "},                                       // − and the full-width blank
    {"\u5317\u7DEF", "N"}, {"\u5357\u7DEF", "S"}, {"\u6771\u7D4C", "E"}, {"\u897F\u7D4C", "W"},  // 北緯 南緯 東経 西経
};

// `text` with every spelling above in its ASCII form and two apostrophes as a second mark;
// nothing when it holds another character outside ASCII.
std::optional<std::string> Normalized(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c == '\'' && !out.empty() && out.back() == '\'') out.back() = kSecondMark;
      else out += static_cast<char>(c);
      ++i;
      continue;
    }
    // U+FF01-U+FF5E: EF BC 81-BF, EF BD 80-9E.
    if (c == 0xEF && i + 2 < text.size()) {
      const auto b1 = static_cast<unsigned char>(text[i + 1]), b2 = static_cast<unsigned char>(text[i + 2]);
      const unsigned code = b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF ? b2 - 0x80 + 0xFF00
                            : b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E ? b2 - 0x80 + 0xFF40
                                                                    : 0;
      if (code != 0) {
        out += static_cast<char>(code - 0xFF00 + 0x20);
        i += 3;
        continue;
      }
    }
    bool known = false;
    for (const Spelling& s : kSpellings) {
      if (text.substr(i).starts_with(s.text)) {
        out += s.ascii;
        i += s.text.size();
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

char HemisphereOf(char c) {
  switch (c) {
    case 'N': case 'n': return 'N';
    case 'S': case 's': return 'S';
    case 'E': case 'e': return 'E';
    case 'W': case 'w': return 'W';
    default: return 0;
  }
}

class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}
  bool AtEnd() const { return m_pos == m_text.size(); }
  char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
  void Skip() { ++m_pos; }
  void SkipBlanks() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t')) ++m_pos;
  }
  // Digits with at most one decimal point; `fraction` tells whether it had one.
  std::optional<double> Number(bool& fraction) {
    const std::size_t start = m_pos;
    std::size_t digits = 0;
    fraction = false;
    for (; !AtEnd(); ++m_pos) {
      if (Peek() >= '0' && Peek() <= '9') ++digits;
      else if (Peek() == '.' && !fraction) fraction = true;
      else break;
    }
    if (digits == 0) return std::nullopt;
    double value = 0;
    const char* first = m_text.data() + start;
    const char* last = m_text.data() + m_pos;
    // from_chars takes no lone trailing point ("35." as people type it).
    if (last[-1] == '.') --last;
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec != std::errc() || end != last) return std::nullopt;
    return value;
  }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

}  // namespace

std::optional<DegreesText> ParseDegreesText(std::string_view text) {
  const std::optional<std::string> ascii = Normalized(text);
  if (!ascii) return std::nullopt;
  Reader in(*ascii);
  DegreesText result;
  in.SkipBlanks();
  if (char h = HemisphereOf(in.Peek())) {
    result.hemisphere = h;
    in.Skip();
    in.SkipBlanks();
  }
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') {
    if (result.hemisphere) return std::nullopt;
    negative = in.Peek() == '-';
    in.Skip();
  }
  // Degrees, minutes, seconds: each part's unit is its mark, or its place when it has none.
  double parts[3] = {0, 0, 0};
  int count = 0;
  bool fraction = false;
  for (;;) {
    if (count == 3 || fraction) return std::nullopt;  // a part after one with decimals
    std::optional<double> value = in.Number(fraction);
    if (!value) return std::nullopt;
    in.SkipBlanks();
    const char mark = in.Peek();
    const int unit = mark == kDegreeMark ? 0 : mark == kMinuteMark ? 1 : mark == kSecondMark ? 2 : count;
    if (unit != count) return std::nullopt;
    parts[count++] = *value;
    const bool marked = mark == kDegreeMark || mark == kMinuteMark || mark == kSecondMark;
    const bool separated = mark == '/' || mark == ':';
    if (marked || separated) in.Skip();
    in.SkipBlanks();
    if (separated) continue;  // a number must follow
    if (in.AtEnd() || HemisphereOf(in.Peek())) break;
  }
  if (char h = HemisphereOf(in.Peek())) {
    if (result.hemisphere || negative) return std::nullopt;
    result.hemisphere = h;
    in.Skip();
    in.SkipBlanks();
  }
  if (!in.AtEnd()) return std::nullopt;
  if ((count > 1 && parts[1] >= 60) || (count > 2 && parts[2] >= 60)) return std::nullopt;
  double degrees = parts[0] + parts[1] / 60 + parts[2] / 3600;
  const double limit = result.hemisphere == 'N' || result.hemisphere == 'S' ? 90 : 180;
  if (!std::isfinite(degrees) || degrees > limit) return std::nullopt;
  if (negative || result.hemisphere == 'S' || result.hemisphere == 'W') degrees = -degrees;
  result.degrees = degrees;
  return result;
}
