#include "maplink/helper_protocol.h"

#include <algorithm>
#include <cstdio>

namespace {

// A field of a DMS text read as atoi does: leading blanks skipped, an optional sign, then
// digits. Digits past the twelfth are ignored, so any text has a defined value.
long long LeadingInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  long long value = 0;
  for (int digits = 0; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    if (digits++ < 12) value = value * 10 + (text[pos] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::vector<TextStep> EncodeTextCommand(MapMessage command, std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxTextBytes));
  std::vector<TextStep> steps;
  steps.reserve(text.size() + 2);
  steps.push_back({MapMessage::kTextStart, 0});
  int pendingLead = -1;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (pendingLead < 0 && byte >= 0x80) {
      pendingLead = byte;
      continue;
    }
    const int code = (pendingLead < 0 ? 0 : pendingLead * 256) + byte;
    steps.push_back({MapMessage::kTextChar, static_cast<std::int16_t>(code)});
    pendingLead = -1;
  }
  steps.push_back({command, 0});
  return steps;
}

std::vector<TextStep> EncodeReply(MapMessage request, std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxTextBytes));
  std::vector<TextStep> steps;
  steps.reserve(text.size() + 2);
  steps.push_back({MapMessage::kTextStart, 0});
  for (const char c : text) steps.push_back({MapMessage::kTextChar, static_cast<unsigned char>(c)});
  steps.push_back({request, 0});
  return steps;
}

void TextAssembler::AppendCharacter(std::int32_t lParam) {
  if (lParam >= 0 && lParam <= 0xFF) {
    Append(static_cast<char>(lParam));
    return;
  }
  // Both bytes or neither: half a character would pair with the next one.
  if (m_text.size() + 2 > kMaxTextBytes) return;
  Append(static_cast<char>((lParam >> 8) & 0xFF));
  Append(static_cast<char>(lParam & 0xFF));
}

void TextAssembler::AppendByte(std::int32_t lParam) { Append(static_cast<char>(lParam & 0xFF)); }

void TextAssembler::Append(char byte) {
  if (m_text.size() < kMaxTextBytes) m_text.push_back(byte);
}

std::string ToHelperCoordinate(std::string_view dmsText) {
  std::string text(dmsText);
  for (char& c : text) {
    if (c == '.') c = '/';
  }
  const std::size_t last = text.rfind('/');
  const std::string_view whole(text);
  const std::string_view thousandths = last == std::string::npos ? whole : whole.substr(last + 1);
  const std::string_view before = last == std::string::npos ? std::string_view() : whole.substr(0, last);
  const std::size_t secondsAt = before.rfind('/');
  const std::string_view seconds = secondsAt == std::string::npos ? before : before.substr(secondsAt + 1);
  const std::string_view degreesMinutes =
      secondsAt == std::string::npos ? std::string_view() : before.substr(0, secondsAt);
  char number[32];
  std::snprintf(number, sizeof number, "%05lld", LeadingInteger(seconds) * 1000 + LeadingInteger(thousandths));
  return std::string(degreesMinutes) + "/" + number;
}

std::string FromHelperCoordinate(std::string_view replyText) {
  std::string text(replyText);
  for (char& c : text) {
    if (c == '/') c = '.';
  }
  const std::size_t last = text.rfind('.');
  const std::size_t at = last == std::string::npos ? 2 : last + 3;
  text.insert(std::min(at, text.size()), 1, '.');
  return text;
}

std::optional<HelperCoordinateFields> ReadHelperCoordinate(std::string_view text) {
  std::size_t pos = text.find_first_not_of(' ');
  if (pos == std::string_view::npos) return std::nullopt;
  // One field of one to `most` digits, then `separator` ('\0': the end of the text).
  const auto field = [&](std::size_t most, char separator) -> std::optional<int> {
    int value = 0;
    std::size_t digits = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
      if (++digits > most) return std::nullopt;
      value = value * 10 + (text[pos] - '0');
    }
    if (digits == 0) return std::nullopt;
    if (separator == '\0') return pos == text.size() ? std::optional<int>(value) : std::nullopt;
    if (pos == text.size() || text[pos++] != separator) return std::nullopt;
    return value;
  };
  const std::optional<int> degrees = field(3, '/');
  if (!degrees) return std::nullopt;
  const std::optional<int> minutes = field(2, '/');
  if (!minutes) return std::nullopt;
  const std::optional<int> secondThousandths = field(5, '\0');
  if (!secondThousandths) return std::nullopt;
  return HelperCoordinateFields{*degrees, *minutes, *secondThousandths};
}

bool IsHelperCoordinate(std::string_view replyText) {
  const std::optional<HelperCoordinateFields> fields = ReadHelperCoordinate(replyText);
  return fields && fields->degrees <= 180;
}
