// The interchange formats by name, and reading and writing any of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

enum class Format { kGpx, kKml, kKmz, kCsv, kGeoJson };

// "gpx", "kml", "kmz", "csv", "geojson" (also "json"), in any case.
std::optional<Format> FormatFromName(std::string_view name);
// By the file name's extension: .gpx, .kml, .kmz, .csv, .geojson, .json.
std::optional<Format> FormatFromPath(std::string_view path);
const char* FormatName(Format format);

// Texts are UTF-8 both ways (KMZ is the zip archive's bytes); `offsetMinutes` is the point
// file's local time east of UTC.
std::string WriteWaypoints(Format format, const std::vector<Waypoint>& points, int offsetMinutes);
ParsedWaypoints ReadWaypoints(Format format, std::string_view text, int offsetMinutes);
