#include "exchange/csv.h"

#include <array>
#include <cmath>
#include <optional>

#include "exchange/coordinate_text.h"
#include "exchange/map_link.h"
#include "exchange/values.h"

namespace {

// Rows kept in memory at most: each costs a few hundred bytes, and a point file holds 250.
constexpr std::size_t kMaxRows = 1'000'000;

void AppendField(std::string& out, std::string_view field, char separator) {
  const char special[] = {separator, '"', '\r', '\n'};
  if (field.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// The separator the first record uses most, quoted fields passed over; a comma when it has
// none (a single column) or on a tie.
char SeparatorOf(std::string_view text) {
  int commas = 0, tabs = 0, semicolons = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    else if (quoted) continue;
    else if (c == '\n' || c == '\r') break;
    else if (c == ',') ++commas;
    else if (c == '\t') ++tabs;
    else if (c == ';') ++semicolons;
  }
  if (tabs > commas && tabs >= semicolons) return '\t';
  if (semicolons > commas && semicolons > tabs) return ';';
  return ',';
}

// Splits the input into records of fields, strictly: a quote may only open a field or, doubled,
// stand inside a quoted one.
class CsvScanner {
 public:
  CsvScanner(std::string_view text, char separator) : m_text(text), m_separator(separator) {}

  // Reads the next record into `fields`. false at the end of the input or on an error (then
  // Error() is not empty). `line` is the line the record starts on.
  bool Next(std::vector<std::string>& fields, std::size_t& line) {
    fields.clear();
    // Blank lines between records carry nothing.
    while (m_pos < m_text.size() && (m_text[m_pos] == '\n' || m_text[m_pos] == '\r')) {
      if (m_text[m_pos] == '\n') ++m_line;
      ++m_pos;
    }
    if (m_pos >= m_text.size()) return false;
    line = m_line;
    std::string field;
    for (;;) {
      if (m_pos < m_text.size() && m_text[m_pos] == '"') {
        std::size_t openedOn = m_line;
        ++m_pos;
        for (;;) {
          if (m_pos >= m_text.size()) {
            m_error = "line " + std::to_string(openedOn) + ": a quoted field is never closed";
            return false;
          }
          char c = m_text[m_pos++];
          if (c == '"') {
            if (m_pos < m_text.size() && m_text[m_pos] == '"') {
              field += '"';
              ++m_pos;
              continue;
            }
            break;
          }
          if (c == '\n') ++m_line;
          field += c;
        }
        if (m_pos < m_text.size() && m_text[m_pos] != m_separator && m_text[m_pos] != '\r' &&
            m_text[m_pos] != '\n') {
          m_error = "line " + std::to_string(m_line) + ", field " + std::to_string(fields.size() + 1) +
                    ": text after the closing quote";
          return false;
        }
      } else {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != m_separator && m_text[m_pos] != '\r' &&
               m_text[m_pos] != '\n') {
          if (m_text[m_pos] == '"') {
            m_error = "line " + std::to_string(m_line) + ", field " + std::to_string(fields.size() + 1) +
                      ": a quote inside an unquoted field";
            return false;
          }
          ++m_pos;
        }
        field.assign(m_text.substr(start, m_pos - start));
      }
      fields.push_back(std::move(field));
      field.clear();
      if (m_pos >= m_text.size()) return true;
      char c = m_text[m_pos++];
      if (c == m_separator) continue;
      if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
      ++m_line;
      return true;
    }
  }

  const std::string& Error() const { return m_error; }

 private:
  std::string_view m_text;
  char m_separator;
  std::size_t m_pos = 0;
  std::size_t m_line = 1;
  std::string m_error;
};

enum Column { kName, kLatitude, kLongitude, kLocation, kNickname, kPhone, kIcon, kVoice, kDate, kTime, kUrl, kColumns };

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  constexpr std::string_view kWideBlank = "\u3000";
  for (;;) {
    const std::size_t size = text.size();
    while (!text.empty() && kBlanks.find(text.front()) != std::string_view::npos) text.remove_prefix(1);
    while (!text.empty() && kBlanks.find(text.back()) != std::string_view::npos) text.remove_suffix(1);
    if (text.starts_with(kWideBlank)) text.remove_prefix(kWideBlank.size());
    if (text.ends_with(kWideBlank)) text.remove_suffix(kWideBlank.size());
    if (text.size() == size) return text;
  }
}

std::optional<Column> ColumnOf(std::string_view header) {
  std::string name(TrimBlanks(header));
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  struct Synonym { std::string_view name; Column column; };
  static constexpr Synonym kSynonyms[] = {
      {"name", kName}, {"title", kName}, {"名称", kName}, {"名前", kName},
      {"latitude", kLatitude}, {"lat", kLatitude}, {"緯度", kLatitude},
      {"longitude", kLongitude}, {"lon", kLongitude}, {"lng", kLongitude}, {"long", kLongitude},
      {"経度", kLongitude},
      {"location", kLocation}, {"address", kLocation}, {"住所", kLocation}, {"所在地", kLocation},
      {"nickname", kNickname},
      {"phone", kPhone}, {"tel", kPhone}, {"telephone", kPhone}, {"電話", kPhone}, {"電話番号", kPhone},
      {"icon", kIcon}, {"voice", kVoice},
      {"date", kDate}, {"日付", kDate}, {"time", kTime}, {"時刻", kTime},
      {"url", kUrl}, {"link", kUrl},
  };
  for (const Synonym& s : kSynonyms) {
    if (name == s.name) return s.column;
  }
  return std::nullopt;
}

// One coordinate cell: a decimal number as our files write it (any value, so that what was
// written comes back), else degrees as people write them, on the side of the Earth the
// column stands for.
std::optional<double> CoordinateOf(std::string_view cell, bool latitude) {
  if (std::optional<double> number = ParseNumber(cell)) return number;
  std::optional<DegreesText> text = ParseDegreesText(cell);
  if (!text) return std::nullopt;
  const bool northSouth = text->hemisphere == 'N' || text->hemisphere == 'S';
  const bool eastWest = text->hemisphere == 'E' || text->hemisphere == 'W';
  if ((latitude && eastWest) || (!latitude && northSouth)) return std::nullopt;
  if (latitude && std::abs(text->degrees) > 90) return std::nullopt;
  return text->degrees;
}

// The date cell as ISO 8601: a date alone means its midnight; a date and time without a zone
// is local time as written, with one it is converted to local time at `offsetMinutes`.
std::optional<LocalStamp> IsoStampOf(std::string_view date, int offsetMinutes) {
  date = TrimBlanks(date);
  if (date.size() == 10) {
    return ParseIsoTime(std::string(date) + "T00:00:00", 0);
  }
  const bool zoned = date.size() > 19 && (date.back() == 'Z' || date.back() == 'z' ||
                                          date.find_first_of("+-", 19) != std::string_view::npos);
  return ParseIsoTime(date, zoned ? offsetMinutes : 0);
}

bool ReadStamp(std::string_view date, std::string_view time, int offsetMinutes, const std::string& where,
               std::optional<LocalStamp>& stamp, std::string& error) {
  const std::string_view trimmed = TrimBlanks(date);
  const bool iso = trimmed.size() >= 10 && trimmed[4] == '-' && trimmed[7] == '-' &&
                   (trimmed.size() == 10 || trimmed[10] == 'T') && TrimBlanks(time).empty();
  // A spreadsheet's date and time in one cell: "2024/05/01 09:30:00".
  if (const std::size_t blank = trimmed.find(' '); !iso && blank != std::string_view::npos && TrimBlanks(time).empty()) {
    if (ReadStampColumns(trimmed.substr(0, blank), TrimBlanks(trimmed.substr(blank)), where, stamp, error)) return true;
    error = where + ": date \"" + std::string(date) + "\" is not YYYY/MM/DD HH:MM:SS";
    return false;
  }
  if (!iso) return ReadStampColumns(date, time, where, stamp, error);
  stamp = IsoStampOf(trimmed, offsetMinutes);
  if (stamp) return true;
  error = where + ": date \"" + std::string(date) +
          "\" is not an ISO 8601 date (2024-05-01 or 2024-05-01T09:30:00+09:00) in the years 2000-2255";
  return false;
}

bool AllBlank(const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    if (!TrimBlanks(field).empty()) return false;
  }
  return true;
}

}  // namespace

std::string WriteCsv(const std::vector<Waypoint>& points, char separator) {
  const char s = separator;
  std::string out = "name,latitude,longitude,location,nickname,phone,icon,voice,date,time\r\n";
  for (char& c : out) {
    if (c == ',') c = s;
  }
  out.reserve(out.size() + points.size() * 160);
  for (const Waypoint& p : points) {
    AppendField(out, p.name, s);
    out += s;
    if (p.hasPosition) out += FormatDegrees(p.latitude) + s + FormatDegrees(p.longitude);
    else out += s;
    out += s;
    AppendField(out, p.location, s);
    out += s;
    AppendField(out, p.nickname, s);
    out += s;
    AppendField(out, p.phone, s);
    out += s;
    if (p.icon) out += std::to_string(*p.icon);
    out += s;
    if (p.voice) out += std::to_string(*p.voice);
    out += s;
    if (p.stamp) out += FormatStampDate(*p.stamp) + s + FormatStampTime(*p.stamp);
    else out += s;
    out += "\r\n";
  }
  return out;
}

ParsedWaypoints ReadCsv(std::string_view text, int offsetMinutes) {
  ParsedWaypoints result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (text.empty()) {
    result.error = "the file is empty";
    return result;
  }
  if (std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < nul; ++i) line += text[i] == '\n';
    result.error = "line " + std::to_string(line) + ": a NUL byte; this is not a CSV text file";
    return result;
  }
  // Text has no control characters but the line breaks and the tab; anything else in the
  // first line means bytes of another kind of file, whatever its name says.
  const std::string_view firstLine = text.substr(0, text.find('\n'));
  for (char c : firstLine) {
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') || c == '\x7F') {
      result.error = "line 1: control characters; this is not a CSV text file";
      return result;
    }
  }
  CsvScanner scanner(text, SeparatorOf(text));
  std::vector<std::string> fields;
  std::size_t line = 0;
  if (!scanner.Next(fields, line)) {
    result.error = scanner.Error().empty() ? "the file holds no header row" : scanner.Error();
    return result;
  }
  std::array<int, kColumns> index;
  index.fill(-1);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (auto column = ColumnOf(fields[i]); column && index[*column] < 0) index[*column] = static_cast<int>(i);
  }
  const bool coordinates = index[kLatitude] >= 0 && index[kLongitude] >= 0;
  if (!coordinates && index[kUrl] < 0) {
    result.error = "line " + std::to_string(line) +
                   ": the header row names no latitude and longitude columns and no URL column "
                   "(expected name,latitude,longitude,... or a map service's Title,URL,...)";
    return result;
  }
  std::size_t headerFields = fields.size();
  while (scanner.Next(fields, line)) {
    if (result.points.size() == kMaxRows) {
      result.error = "line " + std::to_string(line) + ": more than " + std::to_string(kMaxRows) +
                     " rows, far beyond the 250 points a point file holds; the file was not read further";
      return result;
    }
    Waypoint p;
    p.where = "line " + std::to_string(line);
    if (fields.size() != headerFields) {
      // A spreadsheet's row of empty cells, shorter or longer than the header, holds nothing.
      if (AllBlank(fields)) continue;
      result.error = p.where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                     std::to_string(headerFields);
      return result;
    }
    if (AllBlank(fields)) continue;
    auto field = [&](Column c) -> const std::string& {
      static const std::string kNone;
      return index[c] < 0 ? kNone : fields[static_cast<std::size_t>(index[c])];
    };
    p.name = field(kName);
    p.location = field(kLocation);
    p.nickname = field(kNickname);
    p.phone = field(kPhone);
    const std::string& latitudeCell = field(kLatitude);
    const std::string& longitudeCell = field(kLongitude);
    p.hasPosition = !TrimBlanks(latitudeCell).empty() || !TrimBlanks(longitudeCell).empty();
    if (p.hasPosition) {
      auto latitude = CoordinateOf(latitudeCell, true);
      auto longitude = CoordinateOf(longitudeCell, false);
      if (!latitude || !longitude) {
        result.error = p.where + ": latitude \"" + latitudeCell + "\" and longitude \"" + longitudeCell +
                       "\" must both be decimal degrees or degrees, minutes and seconds";
        return result;
      }
      p.latitude = *latitude;
      p.longitude = *longitude;
    }
    const std::string_view url = TrimBlanks(field(kUrl));
    if (!url.empty() && (!p.hasPosition || TrimBlanks(p.name).empty())) {
      std::string linkError;
      std::optional<LinkedPlace> place = PlaceFromLink(url, linkError);
      if (!linkError.empty()) {
        result.error = p.where + ": the URL \"" + std::string(url) + "\": " + linkError;
        return result;
      }
      if (place && !p.hasPosition) {
        p.hasPosition = true;
        p.latitude = place->latitude;
        p.longitude = place->longitude;
      }
      if (place && TrimBlanks(p.name).empty()) {
        p.name = place->name;
      }
    }
    struct Code { Column column; const char* what; int max; std::optional<int>& value; };
    for (Code code : {Code{kIcon, "icon", 255, p.icon}, Code{kVoice, "voice", 31, p.voice}}) {
      const std::string& text = field(code.column);
      if (text.find_first_not_of(' ') == std::string::npos) continue;
      auto number = ParseInteger(text);
      if (!number || *number < 0 || *number > code.max) {
        result.error = p.where + ": " + code.what + " \"" + text + "\" is not a number 0-" +
                       std::to_string(code.max);
        return result;
      }
      code.value = static_cast<int>(*number);
    }
    if (!ReadStamp(field(kDate), field(kTime), offsetMinutes, p.where, p.stamp, result.error)) return result;
    // A row of a saved list with only a note, or a link that gives nothing: no place at all.
    const bool nothing = !p.hasPosition && TrimBlanks(p.name).empty() && TrimBlanks(p.location).empty() &&
                         TrimBlanks(p.nickname).empty() && TrimBlanks(p.phone).empty() && !p.icon && !p.voice &&
                         !p.stamp;
    if (nothing) continue;
    result.points.push_back(std::move(p));
  }
  if (!scanner.Error().empty()) result.error = scanner.Error();
  return result;
}
