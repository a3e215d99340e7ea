#include "exchange/csv.h"

#include <array>
#include <optional>

#include "exchange/values.h"

namespace {

void AppendField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
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

// Splits the input into records of fields, strictly: a quote may only open a field or, doubled,
// stand inside a quoted one.
class CsvScanner {
 public:
  explicit CsvScanner(std::string_view text) : m_text(text) {}

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
        if (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r' &&
            m_text[m_pos] != '\n') {
          m_error = "line " + std::to_string(m_line) + ", field " + std::to_string(fields.size() + 1) +
                    ": text after the closing quote";
          return false;
        }
      } else {
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r' &&
               m_text[m_pos] != '\n') {
          if (m_text[m_pos] == '"') {
            m_error = "line " + std::to_string(m_line) + ", field " + std::to_string(fields.size() + 1) +
                      ": a quote inside an unquoted field";
            return false;
          }
          field += m_text[m_pos++];
        }
      }
      fields.push_back(std::move(field));
      field.clear();
      if (m_pos >= m_text.size()) return true;
      char c = m_text[m_pos++];
      if (c == ',') continue;
      if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos;
      ++m_line;
      return true;
    }
  }

  const std::string& Error() const { return m_error; }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
  std::size_t m_line = 1;
  std::string m_error;
};

enum Column { kName, kLatitude, kLongitude, kLocation, kNickname, kPhone, kIcon, kVoice, kDate, kTime, kColumns };

std::optional<Column> ColumnOf(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  std::size_t first = name.find_first_not_of(' ');
  std::size_t last = name.find_last_not_of(' ');
  name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
  if (name == "name") return kName;
  if (name == "latitude" || name == "lat") return kLatitude;
  if (name == "longitude" || name == "lon" || name == "lng") return kLongitude;
  if (name == "location") return kLocation;
  if (name == "nickname") return kNickname;
  if (name == "phone") return kPhone;
  if (name == "icon") return kIcon;
  if (name == "voice") return kVoice;
  if (name == "date") return kDate;
  if (name == "time") return kTime;
  return std::nullopt;
}

}  // namespace

std::string WriteCsv(const std::vector<Waypoint>& points) {
  std::string out = "name,latitude,longitude,location,nickname,phone,icon,voice,date,time\r\n";
  out.reserve(out.size() + points.size() * 160);
  for (const Waypoint& p : points) {
    AppendField(out, p.name);
    out += ',' + FormatDegrees(p.latitude) + ',' + FormatDegrees(p.longitude) + ',';
    AppendField(out, p.location);
    out += ',';
    AppendField(out, p.nickname);
    out += ',';
    AppendField(out, p.phone);
    out += ',';
    if (p.icon) out += std::to_string(*p.icon);
    out += ',';
    if (p.voice) out += std::to_string(*p.voice);
    out += ',';
    if (p.stamp) out += FormatStampDate(*p.stamp) + ',' + FormatStampTime(*p.stamp);
    else out += ',';
    out += "\r\n";
  }
  return out;
}

ParsedWaypoints ReadCsv(std::string_view text) {
  ParsedWaypoints result;
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
  CsvScanner scanner(text);
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
  if (index[kLatitude] < 0 || index[kLongitude] < 0) {
    result.error = "line " + std::to_string(line) +
                   ": the header row has no latitude and longitude columns (expected "
                   "name,latitude,longitude,...)";
    return result;
  }
  std::size_t headerFields = fields.size();
  while (scanner.Next(fields, line)) {
    Waypoint p;
    p.where = "line " + std::to_string(line);
    if (fields.size() != headerFields) {
      result.error = p.where + ": " + std::to_string(fields.size()) + " fields where the header has " +
                     std::to_string(headerFields);
      return result;
    }
    auto field = [&](Column c) -> const std::string& {
      static const std::string kNone;
      return index[c] < 0 ? kNone : fields[static_cast<std::size_t>(index[c])];
    };
    auto latitude = ParseNumber(field(kLatitude));
    auto longitude = ParseNumber(field(kLongitude));
    if (!latitude || !longitude) {
      result.error = p.where + ": latitude \"" + field(kLatitude) + "\" and longitude \"" +
                     field(kLongitude) + "\" must both be decimal numbers";
      return result;
    }
    p.latitude = *latitude;
    p.longitude = *longitude;
    p.name = field(kName);
    p.location = field(kLocation);
    p.nickname = field(kNickname);
    p.phone = field(kPhone);
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
    const std::string& date = field(kDate);
    const std::string& time = field(kTime);
    if (!ReadStampColumns(date, time, p.where, p.stamp, result.error)) return result;
    result.points.push_back(std::move(p));
  }
  if (!scanner.Error().empty()) result.error = scanner.Error();
  return result;
}
