#include "exchange/format.h"

#include "exchange/csv.h"
#include "exchange/geojson.h"
#include "exchange/gpx.h"
#include "exchange/kml.h"
#include "exchange/kmz.h"

namespace {

// What a file's bytes are, told from their first bytes, for a message when they are not what
// the file's name says.
enum class Content { kZip, kXml, kJson, kBinary, kText };

Content ContentOf(std::string_view bytes) {
  if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06")) return Content::kZip;
  // XML in UTF-16 without a byte order mark, which the XML parsers read.
  if (bytes.starts_with(std::string_view("<\0", 2)) || bytes.starts_with(std::string_view("\0<", 2))) {
    return Content::kXml;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  // Control characters other than the blanks mark binary data; escape stays allowed, since
  // ISO-2022-JP text is made of escape sequences.
  for (unsigned char c : bytes.substr(0, 4096)) {
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B) return Content::kBinary;
  }
  std::size_t first = bytes.find_first_not_of(" \t\r\n\f");
  if (first == std::string_view::npos) return Content::kText;
  if (bytes[first] == '<') return Content::kXml;
  if (bytes[first] == '{' || bytes[first] == '[') return Content::kJson;
  return Content::kText;
}

// The name of an XML text's first element ("gpx"), or "" when none can be found quickly.
std::string_view FirstElementName(std::string_view bytes) {
  for (std::size_t at = bytes.find('<'); at != std::string_view::npos && at < 65536; at = bytes.find('<', at + 1)) {
    std::size_t start = at + 1;
    if (start >= bytes.size() || bytes[start] == '?' || bytes[start] == '!' || bytes[start] == '/') continue;
    std::size_t end = bytes.find_first_of(" \t\r\n/>", start);
    if (end == std::string_view::npos || end - start > 64) return {};
    return bytes.substr(start, end - start);
  }
  return {};
}

// Why `bytes` cannot be a file of `format`, when that is plain from their first bytes: "" when
// they may well be one, and the reader is left to say what is wrong.
std::string WrongContent(Format format, std::string_view bytes) {
  // UTF-16 text with a byte order mark is left to the readers: the XML parsers take it.
  if (bytes.empty() || format == Format::kCsv || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    return {};
  }
  const Content content = ContentOf(bytes);
  const Content expected = format == Format::kKmz       ? Content::kZip
                           : format == Format::kGeoJson ? Content::kJson
                                                        : Content::kXml;
  if (content == expected) return {};
  std::string found;
  switch (content) {
    case Content::kZip: found = "a zip archive (KMZ is one)"; break;
    case Content::kXml: {
      std::string_view root = FirstElementName(bytes);
      found = root.empty() ? "an XML document" : "an XML document <" + std::string(root) + ">";
      if (root == "kml" || root.ends_with(":kml")) found += " (KML)";
      if (root == "gpx" || root.ends_with(":gpx")) found += " (GPX)";
      break;
    }
    case Content::kJson: found = "JSON text (GeoJSON is JSON)"; break;
    case Content::kBinary:
      found = expected == Content::kZip    ? "binary data, not a zip archive"
              : expected == Content::kJson ? "binary data, not JSON text"
                                           : "binary data, not XML text";
      break;
    case Content::kText:
      // Plain text with a stray first character is still left to the parsers' messages, which
      // say where; only text given as a zip archive is plainly wrong.
      if (format != Format::kKmz) return {};
      found = "text, not a zip archive";
      break;
  }
  return std::string("not a ") + FormatName(format) + " file: it is " + found;
}

}  // namespace

std::optional<Format> FormatFromName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (lower == "gpx") return Format::kGpx;
  if (lower == "kml") return Format::kKml;
  if (lower == "kmz") return Format::kKmz;
  if (lower == "csv") return Format::kCsv;
  if (lower == "geojson" || lower == "json") return Format::kGeoJson;
  return std::nullopt;
}

std::optional<Format> FormatFromPath(std::string_view path) {
  std::size_t dot = path.find_last_of('.');
  std::size_t slash = path.find_last_of('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  return FormatFromName(path.substr(dot + 1));
}

const char* FormatName(Format format) {
  switch (format) {
    case Format::kGpx: return "GPX";
    case Format::kKml: return "KML";
    case Format::kKmz: return "KMZ";
    case Format::kCsv: return "CSV";
    case Format::kGeoJson: return "GeoJSON";
  }
  return "?";
}

std::string WriteWaypoints(Format format, const std::vector<Waypoint>& points, int offsetMinutes) {
  switch (format) {
    case Format::kGpx: return WriteGpx(points, offsetMinutes);
    case Format::kKml: return WriteKml(points, offsetMinutes);
    case Format::kKmz: return WriteKmz(points, offsetMinutes);
    case Format::kCsv: return WriteCsv(points);
    case Format::kGeoJson: return WriteGeoJson(points);
  }
  return {};
}

ParsedWaypoints ReadWaypoints(Format format, std::string_view text, int offsetMinutes) {
  if (std::string wrong = WrongContent(format, text); !wrong.empty()) {
    ParsedWaypoints refused;
    refused.error = std::move(wrong);
    return refused;
  }
  switch (format) {
    case Format::kGpx: return ReadGpx(text, offsetMinutes);
    case Format::kKml: return ReadKml(text, offsetMinutes);
    case Format::kKmz: return ReadKmz(text, offsetMinutes);
    case Format::kCsv: return ReadCsv(text, offsetMinutes);
    case Format::kGeoJson: return ReadGeoJson(text, offsetMinutes);
  }
  return {};
}
