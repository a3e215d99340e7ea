#include "exchange/pasted_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "exchange/coordinate_text.h"
#include "exchange/csv.h"
#include "exchange/map_link.h"
#include "exchange/values.h"

namespace {

// A coordinate pair with its hemisphere letters and blanks inside is some 40 bytes long: no
// longer tail of a line is tried as one, which keeps a long line of words quick to refuse.
constexpr std::size_t kLongestPairText = 128;
// The pair may start at one of the last this many words of a line; the words before it are
// the name.
constexpr int kPairWords = 12;
// What of a refused line its error quotes.
constexpr std::size_t kQuotedLength = 60;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool IsSeparator(char c) { return IsBlank(c) || c == ',' || c == ';'; }

// Blanks at both ends off, the ideographic space (U+3000) and the no-break space (U+00A0)
// among them, as Japanese text and web pages put them around what is copied.
std::string_view Trim(std::string_view text) {
  for (;;) {
    if (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    else if (text.starts_with("\xE3\x80\x80")) text.remove_prefix(3);
    else if (text.starts_with("\xC2\xA0")) text.remove_prefix(2);
    else break;
  }
  for (;;) {
    if (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    else if (text.ends_with("\xE3\x80\x80")) text.remove_suffix(3);
    else if (text.ends_with("\xC2\xA0")) text.remove_suffix(2);
    else break;
  }
  return text;
}

// The text before a position as a name: what joins it to the position (a comma, a colon, a
// dash, the bracket round a link) is not part of it.
std::string NameBefore(std::string_view text) {
  for (;;) {
    text = Trim(text);
    if (!text.empty() && std::string_view(",;:-|(<").find(text.back()) != std::string_view::npos) {
      text.remove_suffix(1);
    } else if (text.ends_with("\xEF\xBC\x9A") || text.ends_with("\xE3\x80\x81")) {  // ：、
      text.remove_suffix(3);
    } else {
      return std::string(text);
    }
  }
}

std::string Quoted(std::string_view line) {
  std::size_t cut = line.size();
  if (cut > kQuotedLength) {
    cut = kQuotedLength;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // a whole character
  }
  // Appended piece by piece: g++ 12 warns wrongly (-Wrestrict) about "literal" + a temporary.
  std::string quoted = "\"";
  quoted += line.substr(0, cut);
  if (cut < line.size()) quoted += "...";
  quoted += '"';
  return quoted;
}

bool IsLatitudeLetter(char c) { return c == 'N' || c == 'S' || c == 'n' || c == 's'; }
bool IsLongitudeLetter(char c) { return c == 'E' || c == 'W' || c == 'e' || c == 'w'; }

// A word that is only a hemisphere letter ("N" in "N 35.68").
bool IsHemisphereWord(std::string_view word) {
  return word.size() == 1 && (IsLatitudeLetter(word[0]) || IsLongitudeLetter(word[0]));
}

// Whether `text` may be one coordinate value at all before it is read: one word, or words
// joined by a degree sign (35° 40' 52.5"), or numbers with a hemisphere letter apart at
// either end (N 35.68, 35 40 52.5 N). Plain numbers alone ("1 35.68") are not one value:
// the first belongs to the name ("Route 1").
bool MayBeOneValue(std::string_view text) {
  if (text.empty() || text.find_first_of(",;\t") != std::string_view::npos) return false;
  const std::size_t firstBlank = text.find(' ');
  if (firstBlank == std::string_view::npos) return true;
  if (text.find("\xC2\xB0") != std::string_view::npos || text.find("\xC2\xBA") != std::string_view::npos) return true;
  return IsHemisphereWord(text.substr(0, firstBlank)) || IsHemisphereWord(text.substr(text.rfind(' ') + 1));
}

enum class Axis { kUnknown, kLatitude, kLongitude };

Axis AxisOf(const DegreesText& value) {
  if (IsLatitudeLetter(value.hemisphere)) return Axis::kLatitude;
  if (IsLongitudeLetter(value.hemisphere)) return Axis::kLongitude;
  return Axis::kUnknown;
}

// Latitude and longitude from two values in either order: by their hemisphere letters, else
// by their ranges (a value beyond 90 can only be a longitude), else in the order map services
// copy them, latitude first.
std::optional<Waypoint> PairOf(const DegreesText& first, const DegreesText& second) {
  Axis a = AxisOf(first), b = AxisOf(second);
  if (a == Axis::kUnknown && b == Axis::kUnknown) {
    const bool firstBeyond = std::abs(first.degrees) > 90, secondBeyond = std::abs(second.degrees) > 90;
    if (firstBeyond && secondBeyond) return std::nullopt;
    a = firstBeyond ? Axis::kLongitude : Axis::kLatitude;
  }
  if (a == Axis::kUnknown) a = b == Axis::kLatitude ? Axis::kLongitude : Axis::kLatitude;
  if (b == Axis::kUnknown) b = a == Axis::kLatitude ? Axis::kLongitude : Axis::kLatitude;
  if (a == b) return std::nullopt;
  Waypoint point;
  point.latitude = a == Axis::kLatitude ? first.degrees : second.degrees;
  point.longitude = a == Axis::kLatitude ? second.degrees : first.degrees;
  if (!(std::abs(point.latitude) <= 90) || !(std::abs(point.longitude) <= 180)) return std::nullopt;
  return point;
}

// `text` as exactly two coordinate values, split at one of its runs of blanks, commas or
// semicolons.
std::optional<Waypoint> ReadPair(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsSeparator(text[i])) continue;
    std::size_t end = i;
    while (end < text.size() && IsSeparator(text[end])) ++end;
    const std::string_view left = Trim(text.substr(0, i)), right = Trim(text.substr(end));
    i = end;
    if (!MayBeOneValue(left) || !MayBeOneValue(right)) continue;
    const std::optional<DegreesText> first = ParseDegreesText(left);
    if (!first) continue;
    const std::optional<DegreesText> second = ParseDegreesText(right);
    if (!second) continue;
    if (std::optional<Waypoint> point = PairOf(*first, *second)) return point;
  }
  return std::nullopt;
}

// A coordinate pair at the end of the line, the name before it: the pair starts at the
// earliest of the line's last words from which the rest reads as one.
std::optional<Waypoint> ReadPositionLine(std::string_view line) {
  std::vector<std::size_t> starts;  // where the words begin, last first
  for (std::size_t i = line.size(); i > 0 && line.size() - (i - 1) <= kLongestPairText; --i) {
    if (!IsSeparator(line[i - 1]) && (i == 1 || IsSeparator(line[i - 2]))) {
      starts.push_back(i - 1);
      if (static_cast<int>(starts.size()) == kPairWords) break;
    }
  }
  for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
    if (std::optional<Waypoint> point = ReadPair(line.substr(*start))) {
      point->name = NameBefore(line.substr(0, *start));
      return point;
    }
  }
  return std::nullopt;
}

// Where a link starts in the line (a geo: URI or a web address), or npos.
std::size_t LinkStart(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (i > 0 && !IsSeparator(line[i - 1]) && line[i - 1] != '(' && line[i - 1] != '<') continue;
    const std::string_view rest = line.substr(i);
    if (StartsWithNoCase(rest, "geo:") || StartsWithNoCase(rest, "http://") || StartsWithNoCase(rest, "https://"))
      return i;
  }
  return std::string_view::npos;
}

// One line as a point; false with `error` set when it holds none.
bool ReadLine(std::string_view line, const std::string& where, Waypoint& point, std::string& error) {
  if (const std::size_t start = LinkStart(line); start != std::string_view::npos) {
    // A link in brackets ends at its closing one.
    const char closing = start > 0 && line[start - 1] == '(' ? ')' : '>';
    std::size_t end = start;
    while (end < line.size() && !IsBlank(line[end]) && line[end] != closing) ++end;
    std::string linkError;
    const std::optional<LinkedPlace> place = PlaceFromLink(line.substr(start, end - start), linkError);
    if (!place) {
      error = where + ": " +
              (linkError.empty() ? "the link holds no position. A short link (such as https://maps.app.goo.gl/...) "
                                   "only leads to its place through the network, which is not used here: open it in "
                                   "a browser and copy the full address it shows, or the coordinates"
                                 : linkError);
      return false;
    }
    point.latitude = place->latitude;
    point.longitude = place->longitude;
    point.name = place->name.empty() ? NameBefore(line.substr(0, start)) : place->name;
    return true;
  }
  std::optional<Waypoint> read = ReadPositionLine(line);
  if (!read) {
    error = where + ": " + Quoted(line) +
            " holds no position: neither a coordinate pair (35.681236, 139.767125) nor a map link";
    return false;
  }
  point.latitude = read->latitude;
  point.longitude = read->longitude;
  point.name = std::move(read->name);
  return true;
}

// A table pasted whole: each row must give a position, as each line of other text must.
ParsedWaypoints ReadTable(std::string_view text, int offsetMinutes) {
  ParsedWaypoints table = ReadCsv(text, offsetMinutes);
  if (table.ok() && table.points.empty()) table.error = "the table holds no row after its header";
  for (const Waypoint& point : table.points) {
    if (!point.hasPosition) {
      table.error = point.where + ": the row holds no position";
      break;
    }
  }
  return table;
}

}  // namespace

ParsedWaypoints ReadPastedText(std::string_view text, int offsetMinutes) {
  ParsedWaypoints result;
  if (text.size() > kPastedTextLimit) {
    result.error = "the text is " + std::to_string(text.size()) + " bytes long; at most " +
                   std::to_string(kPastedTextLimit) + " bytes (1 MB) are read as points";
    return result;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  // The clipboard's text ends at its first NUL; bytes with NULs inside are no pasted text.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    result.error = "line " + std::to_string(1 + std::count(text.begin(), text.begin() + nul, '\n')) +
                   ": a NUL byte; this is not text";
    return result;
  }
  std::size_t lineNumber = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    ++lineNumber;
    pos = end + 1;
    if (line.empty()) continue;
    Waypoint point;
    point.where = "line " + std::to_string(lineNumber);
    if (ReadLine(line, point.where, point, result.error)) {
      result.points.push_back(std::move(point));
      continue;
    }
    // A first line that is no point but a row of column names is a table, as Copy writes it
    // and spreadsheets copy it: read as CSV, whose header finds the columns.
    const bool moreLines = text.find_first_not_of(" \t\r\n", pos) != std::string_view::npos;
    if (result.points.empty() && moreLines && line.find_first_of("\t,;") != std::string_view::npos) {
      return ReadTable(text, offsetMinutes);
    }
    return result;
  }
  if (result.points.empty()) result.error = "the text holds no position";
  return result;
}
