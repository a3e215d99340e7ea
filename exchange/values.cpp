#include "exchange/values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
                           text.front() == '\n')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                           text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long& y, int& m, int& d) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

// Reads exactly `width` digits at `pos`.
bool Digits(std::string_view text, std::size_t& pos, std::size_t width, int& value) {
  if (pos + width > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += width;
  return true;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

// Splits "a/b/c" into numbers of at most five digits each.
std::optional<std::vector<int>> SplitNumbers(std::string_view text, std::string_view separators) {
  std::vector<int> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || separators.find(text[i]) != std::string_view::npos) {
      std::string_view part = text.substr(start, i - start);
      int value = 0;
      if (part.empty() || part.size() > 5) return std::nullopt;
      auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
      if (ec != std::errc() || end != part.data() + part.size()) return std::nullopt;
      parts.push_back(value);
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace

std::string FormatDegrees(double degrees) {
  // Every coordinate of a point file lies well inside this range, where whole hundred-millionths
  // are exact in 64 bits and plain integer formatting is many times faster than to_chars.
  if (std::fabs(degrees) < 1e9) {
    long long scaled = std::llround(degrees * 1e8);
    bool negative = scaled < 0;
    unsigned long long magnitude = negative ? -static_cast<unsigned long long>(scaled) : scaled;
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    for (int digits = 0; digits < 9 || magnitude > 0; ++digits) {
      if (digits == 8) *--p = '.';
      *--p = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    }
    if (negative) *--p = '-';
    return std::string(p, end);
  }
  char buffer[400];  // room for the largest double written out in full
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::fixed, 8);
  if (ec != std::errc()) return "nan";
  return std::string(buffer, end);
}

bool StartsWithNoCase(std::string_view text, std::string_view head) {
  if (text.size() < head.size()) return false;
  for (std::size_t i = 0; i < head.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != head[i]) return false;
  }
  return true;
}

std::optional<double> ParseNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<long long> ParseInteger(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> ParseUtcOffset(std::string_view text) {
  text = Trim(text);
  if (text == "Z" || text == "z") return 0;
  if (text.size() < 2 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  int sign = text[0] == '-' ? -1 : 1;
  std::size_t pos = 1;
  int hours = 0, minutes = 0;
  if (!Digits(text, pos, 2, hours)) return std::nullopt;
  if (pos < text.size()) {
    if (text[pos] == ':') ++pos;
    if (!Digits(text, pos, 2, minutes)) return std::nullopt;
  }
  if (pos != text.size() || minutes > 59 || hours * 60 + minutes > 14 * 60) return std::nullopt;
  return sign * (hours * 60 + minutes);
}

bool IsRealDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool IsRealStamp(const LocalStamp& s) {
  return IsRealDate(s.year, s.month, s.day) && s.hour >= 0 && s.hour <= 23 && s.minute >= 0 &&
         s.minute <= 59 && s.second >= 0 && s.second <= 59;
}

std::string FormatIsoTime(const LocalStamp& s, int offsetMinutes) {
  long long seconds = DaysFromCivil(s.year, s.month, s.day) * 86400 + s.hour * 3600 + s.minute * 60 +
                      s.second - offsetMinutes * 60LL;
  long long days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  long long rest = seconds - days * 86400;
  long long year = 0;
  int month = 0, day = 0;
  CivilFromDays(days, year, month, day);
  // Written by hand: this runs for every point of an export, and printf costs more than the
  // rest of the point together.
  char text[] = "0000-00-00T00:00:00Z";
  auto put = [&text](int at, long long value, int width) {
    for (int i = width - 1; i >= 0; --i, value /= 10) text[at + i] = static_cast<char>('0' + value % 10);
  };
  put(0, year, 4);  // the years of a point file (2000-2255, shifted by a day at most) have four digits
  put(5, month, 2);
  put(8, day, 2);
  put(11, rest / 3600, 2);
  put(14, rest / 60 % 60, 2);
  put(17, rest % 60, 2);
  return text;
}

std::optional<LocalStamp> ParseIsoTime(std::string_view text, int offsetMinutes) {
  text = Trim(text);
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!Digits(text, pos, 4, year) || !Expect(text, pos, '-') || !Digits(text, pos, 2, month) ||
      !Expect(text, pos, '-') || !Digits(text, pos, 2, day) || !Expect(text, pos, 'T') ||
      !Digits(text, pos, 2, hour) || !Expect(text, pos, ':') || !Digits(text, pos, 2, minute) ||
      !Expect(text, pos, ':') || !Digits(text, pos, 2, second)) {
    return std::nullopt;
  }
  if (pos < text.size() && text[pos] == '.') {  // fractions of a second: the file keeps none
    ++pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  }
  int zone = 0;
  if (pos < text.size()) {
    std::optional<int> parsed = ParseUtcOffset(text.substr(pos));
    if (!parsed) return std::nullopt;
    zone = *parsed;
  }
  if (!IsRealDate(year, month, day) || hour > 23 || minute > 59 || second > 60) return std::nullopt;
  if (second == 60) second = 59;  // a leap second: the file cannot hold it
  long long seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second -
                      zone * 60LL + offsetMinutes * 60LL;
  long long days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  long long rest = seconds - days * 86400;
  long long localYear = 0;
  LocalStamp stamp;
  CivilFromDays(days, localYear, stamp.month, stamp.day);
  if (localYear < 2000 || localYear > 2255) return std::nullopt;
  stamp.year = static_cast<int>(localYear);
  stamp.hour = static_cast<int>(rest / 3600);
  stamp.minute = static_cast<int>(rest / 60 % 60);
  stamp.second = static_cast<int>(rest % 60);
  return stamp;
}

std::string FormatStampDate(const LocalStamp& s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", s.year, s.month, s.day);
  return buffer;
}

std::string FormatStampTime(const LocalStamp& s) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", s.hour, s.minute, s.second);
  return buffer;
}

std::optional<LocalStamp> ParseStampTexts(std::string_view date, std::string_view time) {
  auto d = SplitNumbers(Trim(date), "/-");
  auto t = SplitNumbers(Trim(time), ":");
  if (!d || !t || d->size() != 3 || t->size() != 3) return std::nullopt;
  LocalStamp s{(*d)[0], (*d)[1], (*d)[2], (*t)[0], (*t)[1], (*t)[2]};
  if (s.year < 2000 || s.year > 2255 || s.month > 255 || s.day > 255 || s.hour > 255 ||
      s.minute > 255 || s.second > 255) {
    return std::nullopt;
  }
  return s;
}

bool ReadStampColumns(std::string_view date, std::string_view time, const std::string& where,
                      std::optional<LocalStamp>& stamp, std::string& error) {
  if (date.empty() && time.empty()) return true;
  stamp = ParseStampTexts(date, time);
  if (stamp) return true;
  error = where + ": date \"" + std::string(date) + "\" and time \"" + std::string(time) +
          "\" are not YYYY/MM/DD and HH:MM:SS";
  return false;
}
