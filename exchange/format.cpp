#include "exchange/format.h"

#include "exchange/csv.h"
#include "exchange/geojson.h"
#include "exchange/gpx.h"
#include "exchange/kml.h"
#include "exchange/kmz.h"

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
  switch (format) {
    case Format::kGpx: return ReadGpx(text, offsetMinutes);
    case Format::kKml: return ReadKml(text, offsetMinutes);
    case Format::kKmz: return ReadKmz(text, offsetMinutes);
    case Format::kCsv: return ReadCsv(text, offsetMinutes);
    case Format::kGeoJson: return ReadGeoJson(text);
  }
  return {};
}
