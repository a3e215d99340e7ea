#include "pointfile/text_forms.h"

#include <ctime>

namespace {

constexpr std::size_t kDmsInputLimit = 32;

// The value of a token's leading decimal digits, with an optional sign, as a 32-bit number.
// Digits wrap modulo 2^32 instead of overflowing, so any input has a defined value.
std::int32_t LeadingDecimal(std::string_view token) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < token.size() && (token[pos] == '+' || token[pos] == '-')) {
    negative = token[pos] == '-';
    ++pos;
  }
  std::uint32_t value = 0;
  for (; pos < token.size() && token[pos] >= '0' && token[pos] <= '9'; ++pos) {
    value = value * 10u + static_cast<std::uint32_t>(token[pos] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

// The thousandths: the token's first three characters, padded with zeros on the right, so
// "5" means 500 and "1234" means 123.
std::int32_t Thousandths(std::string_view token) {
  std::string digits(token.substr(0, 3));
  digits.resize(3, '0');
  return LeadingDecimal(digits);
}

struct DmsTokens {
  std::string_view token[4];
  int count = 0;
};

DmsTokens SplitDms(std::string_view text) {
  DmsTokens tokens;
  std::size_t pos = 0;
  while (tokens.count < 4) {
    while (pos < text.size() && IsCoordinateSeparator(text[pos])) ++pos;
    if (pos == text.size()) break;
    std::size_t end = pos;
    while (end < text.size() && !IsCoordinateSeparator(text[end])) ++end;
    tokens.token[tokens.count++] = text.substr(pos, end - pos);
    pos = end;
  }
  return tokens;
}

}  // namespace

bool IsCoordinateSeparator(char c) {
  return c == '\'' || c == ' ' || c == ',' || c == '.' || c == '/' || c == '\t' || c == '\n';
}

namespace {

// Two decimal digits of n (0-99) at p; a text of fixed shape is cheaper built by hand than
// through snprintf, and the lists build thousands of them.
void PutTwoDigits(char* p, unsigned n) {
  p[0] = static_cast<char>('0' + n / 10 % 10);
  p[1] = static_cast<char>('0' + n % 10);
}

}  // namespace

std::string FormatDms(std::uint32_t value) {
  const std::uint32_t whole = value >> 11;
  const std::uint32_t frac = value & 0x7FF;
  const std::uint32_t deg = whole / 3600;
  const std::uint32_t rest = whole % 3600;
  const unsigned thousandths = frac * 1000 / 2048;
  std::string text(13, ' ');
  if (deg / 100 != 0) text[0] = static_cast<char>('0' + deg / 100);
  PutTwoDigits(&text[1], deg % 100);
  text[3] = '/';
  PutTwoDigits(&text[4], rest / 60);
  text[6] = '/';
  PutTwoDigits(&text[7], rest % 60);
  text[9] = '.';
  text[10] = static_cast<char>('0' + thousandths / 100);
  PutTwoDigits(&text[11], thousandths % 100);
  return text;
}

std::uint32_t ParseDms(std::string_view text) {
  text = text.substr(0, kDmsInputLimit);
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    text = text.substr(0, nul);
  }
  const DmsTokens t = SplitDms(text);
  const std::int32_t deg = t.count > 0 ? LeadingDecimal(t.token[0]) : 0;
  const std::int32_t min = t.count > 1 ? LeadingDecimal(t.token[1]) : 0;
  std::int32_t sec = 0;
  std::int32_t ms = 0;
  if (t.count > 2) {
    const std::int32_t s = LeadingDecimal(t.token[2]);
    if (s >= 60) {  // seconds and thousandths written together: 29123
      sec = s / 1000;
      ms = s % 1000;
    } else {
      sec = s;
      if (t.count > 3) ms = Thousandths(t.token[3]);
    }
  }
  // ms lies within -999..999 here, so its 2048ths fit easily; q rounds half up.
  std::int32_t q = ms * 2048 / 1000;
  if (ms * 2048 % 1000 >= 500) ++q;
  // The rest is 32-bit arithmetic modulo 2^32, done unsigned so that it is defined.
  const std::uint32_t seconds =
      (static_cast<std::uint32_t>(deg) * 60u + static_cast<std::uint32_t>(min)) * 60u +
      static_cast<std::uint32_t>(sec);
  return seconds * 2048u + static_cast<std::uint32_t>(q);
}

std::string EncodeJisText(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2 + 1);
  for (std::size_t pos = 0; pos < text.size() && text[pos] != '\0';) {
    const auto s1 = static_cast<std::uint8_t>(text[pos]);
    if (s1 < 0x80) {
      out += '\xFF';
      out += static_cast<char>(s1);
      ++pos;
      continue;
    }
    if (pos + 1 >= text.size() || text[pos + 1] == '\0') break;  // a lead byte with no trail
    const auto s2 = static_cast<std::uint8_t>(text[pos + 1]);
    std::uint8_t j1, j2;
    if (s2 >= 0x9F) {
      j1 = static_cast<std::uint8_t>(s1 < 0xA0 ? 2 * s1 - 0xE0 : 2 * s1 - 0x160);
      j2 = static_cast<std::uint8_t>(s2 - 0x7E);
    } else {
      j1 = static_cast<std::uint8_t>(s1 < 0xA0 ? 2 * s1 - 0xE1 : 2 * s1 - 0x161);
      j2 = static_cast<std::uint8_t>(s2 >= 0x80 ? s2 - 0x20 : s2 - 0x1F);
    }
    out += static_cast<char>(j1);
    out += static_cast<char>(j2);
    pos += 2;
  }
  out += '\0';
  return out;
}

std::string DecodeJisText(const std::uint8_t* field, std::size_t length) {
  std::string out;
  DecodeJisText(field, length, out);
  return out;
}

void DecodeJisText(const std::uint8_t* field, std::size_t length, std::string& text) {
  constexpr std::size_t kFieldLength = 40;
  if (length > kFieldLength) length = kFieldLength;
  char out[kFieldLength];  // every unit gives at most two bytes
  std::size_t n = 0;
  for (std::size_t pos = 0; pos + 1 < length; pos += 2) {
    const std::uint8_t u1 = field[pos];
    const std::uint8_t u2 = field[pos + 1];
    if (u1 == 0xFF) {
      if (u2 == 0x00) break;
      out[n++] = static_cast<char>(u2);
      continue;
    }
    if (u1 == 0x00 || u2 == 0x00) break;
    const auto s1 = static_cast<std::uint8_t>((u1 + 1) / 2 + (u1 <= 0x5E ? 0x70 : 0xB0));
    std::uint8_t s2;
    if (u1 % 2 == 1) {
      s2 = static_cast<std::uint8_t>(u2 < 0x60 ? u2 + 0x1F : u2 + 0x20);
    } else {
      s2 = static_cast<std::uint8_t>(u2 + 0x7E);
    }
    // Codes outside JIS X 0208 can convert to a zero byte, which would end the text in the
    // window but not in other readers; end it here for all of them.
    if (s1 == 0x00 || s2 == 0x00) break;
    out[n++] = static_cast<char>(s1);
    out[n++] = static_cast<char>(s2);
  }
  text.assign(out, n);
}

void CopyFieldText(std::uint8_t* dst, std::string_view src, std::size_t max) {
  std::size_t n = 0;
  for (; n < max && n < src.size() && src[n] != '\0'; ++n) {
    dst[n] = static_cast<std::uint8_t>(src[n]);
  }
  dst[n] = 0x00;
  dst[n + 1] = 0x00;
}

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

std::uint32_t CurrentDate() {
  const std::tm t = LocalNow();
  return static_cast<std::uint32_t>(((t.tm_year + 1900 - 2000) & 0xFF) << 16 |
                                    (t.tm_mon + 1) << 8 | t.tm_mday);
}

std::uint32_t CurrentTime() {
  const std::tm t = LocalNow();
  return static_cast<std::uint32_t>(t.tm_hour << 16 | t.tm_min << 8 | t.tm_sec);
}

namespace {

// "%02d" of a stored byte at p: two digits, or three for 100-255. Returns the end.
char* PutByte(char* p, int n) {
  if (n >= 100) *p++ = static_cast<char>('0' + n / 100);
  *p++ = static_cast<char>('0' + n / 10 % 10);
  *p++ = static_cast<char>('0' + n % 10);
  return p;
}

}  // namespace

std::string FormatDateText(int year, int month, int day) {
  char text[16] = {'2', '0'};
  char* p = PutByte(text + 2, year & 0xFF);
  *p++ = '/';
  p = PutByte(p, month & 0xFF);
  *p++ = '/';
  p = PutByte(p, day & 0xFF);
  return std::string(text, p);
}

std::string FormatTimeText(int hour, int minute, int second) {
  char text[16];
  char* p = PutByte(text, hour & 0xFF);
  *p++ = ':';
  p = PutByte(p, minute & 0xFF);
  *p++ = ':';
  p = PutByte(p, second & 0xFF);
  return std::string(text, p);
}
