// The bridge between a point file slot and an interchange Waypoint: Shift_JIS texts to UTF-8
// and back through code page 932, 1/2048 arc-second units to degrees and back, and the
// storing of an imported point through the PointFile setters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/waypoint.h"
#include "pointfile/point_file.h"

// The point in `slot` as an interchange file carries it.
Waypoint WaypointFromSlot(const PointFile& file, int slot);
// The creation stamp of `slot` as stored, whether or not it is a real date and time.
LocalStamp StoredStamp(const PointFile& file, int slot);

double DegreesFromUnits(std::uint32_t units);
// Nothing when the value cannot be stored: negative, not a number, or beyond 2^32 - 1 units.
std::optional<std::uint32_t> UnitsFromDegrees(double degrees);

// Counts what the conversion of texts into the fields had to change.
struct TextChanges {
  int replaced = 0;  // characters code page 932 cannot hold, stored as "?"
  int folded = 0;    // letters with a diacritic code page 932 cannot hold, stored as their base letter
  int cut = 0;       // texts longer than their field
};

enum class TextField { kName, kLocation, kNickname, kPhone };

// A UTF-8 text made ready for its field: Shift_JIS, control characters as blanks, cut to what
// the field holds at a character boundary. Name and location take half-width katakana as
// their full-width forms, because their two-byte storage form has no single-byte kana.
std::string FitFieldText(std::string_view utf8, TextField field, TextChanges& changes);

// Field texts of an imported point, already fitted.
struct FittedTexts {
  std::string name, location, nickname, phone;
};
FittedTexts FitWaypointTexts(const Waypoint& point, TextChanges& changes);

// Opens a fresh point at `slot` (InsertRecord) and stores the point through the setters, then
// seals it with UpdateChecksum. Coordinates are units already. false when the table is full.
bool InsertWaypoint(PointFile& file, int slot, const FittedTexts& texts, std::uint32_t longitude,
                    std::uint32_t latitude, const Waypoint& point);
