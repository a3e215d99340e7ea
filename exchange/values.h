// The scalar values every interchange format shares: numbers written and read exactly, and
// the creation stamp as ISO 8601 UTC (GPX, KML) or as the point file's own texts (CSV,
// GeoJSON).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "exchange/waypoint.h"

// Degrees with eight decimals: finer than the point file's 1/2048 arc-second (about 1.4e-7
// degrees), so a point comes back to the same unit.
std::string FormatDegrees(double degrees);

// Whether `text` begins with `head` (lower-case ASCII), letters compared without case: the
// schemes and keys of links and URIs.
bool StartsWithNoCase(std::string_view text, std::string_view head);

// A whole decimal number, blanks around it allowed; nothing else in the text.
std::optional<double> ParseNumber(std::string_view text);
std::optional<long long> ParseInteger(std::string_view text);

// An offset east of UTC such as "+09:00", "-05", "+0530" or "Z", in minutes.
std::optional<int> ParseUtcOffset(std::string_view text);

bool IsRealDate(int year, int month, int day);
bool IsRealStamp(const LocalStamp& stamp);

// "2026-12-08T01:00:00Z" for a stamp taken at `offsetMinutes` east of UTC. The stamp must be real.
std::string FormatIsoTime(const LocalStamp& stamp, int offsetMinutes);
// An ISO 8601 date and time (zone "Z", "+hh:mm" or none, meaning UTC) in local time at
// `offsetMinutes`; nothing when it cannot be read or falls outside the years a point file
// can hold.
std::optional<LocalStamp> ParseIsoTime(std::string_view text, int offsetMinutes);

// "2026/12/08" and "09:30:00", the texts the editor shows; the year in full.
std::string FormatStampDate(const LocalStamp& stamp);
std::string FormatStampTime(const LocalStamp& stamp);
// Reads them back ("-" may stand for "/" in the date). Checks only that each part fits its
// byte in the file, so whatever a file held comes back as it was.
std::optional<LocalStamp> ParseStampTexts(std::string_view date, std::string_view time);
// The date and time columns of a point at `where`: `stamp` stays empty when both are; false,
// with `error` naming the place and the texts, when they cannot be read.
bool ReadStampColumns(std::string_view date, std::string_view time, const std::string& where,
                      std::optional<LocalStamp>& stamp, std::string& error);
