// pnt import: points from GPX, KML, KMZ, CSV or GeoJSON into a point file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "exchange/cp932.h"
#include "exchange/format.h"
#include "exchange/point_waypoint.h"
#include "exchange/text_position.h"
#include "pointfile/datum.h"
#include "pointfile/duplicates.h"
#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "pnt/commands/conversion_options.h"
#include "pnt/platform.h"

namespace {

// Far more than any set of 250 points needs; a larger input is refused before it is read.
constexpr std::size_t kMaxInputBytes = 64u << 20;

struct ImportOptions {
  std::string input, from, output;
  bool append = false, force = false, backup = false, truncate = false, strict = false, skipDuplicates = false;
  ConversionOptions conversion;
};

bool RefuseLargeInput(const std::string& path) {
  Fail(path + ": larger than " + std::to_string(kMaxInputBytes >> 20) +
       " MiB; that is far beyond 250 points, so it was not read");
  return false;
}

// Reads the whole input ("-": standard input). Prints what is wrong and returns false.
bool ReadInput(const std::string& path, std::string& text) {
  std::FILE* in = path == "-" ? stdin : OpenInputFile(path);
  if (!in) {
    Fail(path + ": cannot be opened: " + std::strerror(errno));
    return false;
  }
  std::error_code error;
  if (in != stdin && std::filesystem::is_regular_file(FileSystemPath(path), error) &&
      std::filesystem::file_size(FileSystemPath(path), error) > kMaxInputBytes) {
    std::fclose(in);
    return RefuseLargeInput(path);
  }
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    text.append(buffer, got);
    if (text.size() > kMaxInputBytes) {
      if (in != stdin) std::fclose(in);
      return RefuseLargeInput(path);
    }
  }
  bool failed = std::ferror(in);
  if (in != stdin) std::fclose(in);
  if (failed) Fail(path + ": read error");
  return !failed;
}

// CSV comes in UTF-8, UTF-16 with a byte order mark (auto only) or code page 932; the other formats are UTF-8 (or say otherwise in their
// XML declaration, which the XML reader handles). Leaves UTF-8 in `text`.
bool DecodeCsv(const std::string& path, const std::string& encoding, std::string& text) {
  if (encoding == "auto") {
    text = CsvBytesAsUtf8(std::move(text));
  } else if (text.starts_with("\xEF\xBB\xBF")) {
    text.erase(0, 3);
  }
  if (encoding == "cp932") {
    text = Cp932ToUtf8(text);
    return true;
  }
  if (std::size_t bad = InvalidUtf8Offset(text); bad != std::string::npos) {
    LineCounter lines(text);
    Fail(path + ": " + lines.Describe(bad) +
         ": not UTF-8 (for a code page 932 file give --encoding cp932, for UTF-16 --encoding auto)");
    return false;
  }
  return true;
}

int RunImport(const ImportOptions& o) {
  std::optional<Format> format = o.from.empty() ? FormatFromPath(o.input) : FormatFromName(o.from);
  if (!format) {
    return Fail(o.from.empty() ? o.input + ": cannot tell the format from the name; give --from gpx|kml|kmz|csv|geojson"
                               : "--from " + o.from + ": choose gpx, kml, kmz, csv or geojson");
  }
  const std::optional<std::string> corePath = CorePath(o.output);
  if (!corePath) return kExitFailure;
  if (!HasPointFileExtension(*corePath)) return Fail(o.output + ": a point file's name must end in .pnt");
  std::error_code error;
  bool outputExists = std::filesystem::exists(FileSystemPath(o.output), error);
  if (outputExists && !o.append && !o.force) {
    return Fail(o.output + " exists; give --append to add to it or --force to replace it");
  }
  auto conversion = PrepareConversion(o.conversion);
  if (!conversion) return kExitFailure;

  std::string text;
  if (!ReadInput(o.input, text)) return kExitFailure;
  if (*format == Format::kCsv && !DecodeCsv(o.input, o.conversion.encoding, text)) return kExitFailure;
  ParsedWaypoints parsed = ReadWaypoints(*format, text, conversion->offsetMinutes);
  if (!parsed.ok()) return Fail(o.input + ": " + parsed.error);
  auto labelOf = [&o](const Waypoint& point) {
    return o.input + ": " + point.where + (point.name.empty() ? "" : " \"" + point.name + "\"");
  };
  // A place its file names without a position (a saved list's entry, an address) cannot be
  // stored; the others still can.
  // Each is named, up to a screenful: a list of thousands of addresses would bury the rest.
  constexpr std::size_t kNamedPlacesWithoutPosition = 20;
  std::size_t positioned = 0;
  for (std::size_t k = 0; k < parsed.points.size(); ++k) {
    if (parsed.points[k].hasPosition) {
      if (k != positioned) parsed.points[positioned] = std::move(parsed.points[k]);
      ++positioned;
    } else if (k - positioned < kNamedPlacesWithoutPosition) {
      Warn(labelOf(parsed.points[k]) + ": has no position (its file gives none); left out");
    }
  }
  const std::size_t withoutPosition = parsed.points.size() - positioned;
  if (withoutPosition > kNamedPlacesWithoutPosition) {
    Warn("and " + std::to_string(withoutPosition - kNamedPlacesWithoutPosition) + " more place(s) without a position were left out");
  }
  const bool placesWithoutPosition = withoutPosition > 0;
  parsed.points.resize(positioned);
  if (parsed.points.empty()) {
    return Fail(o.input + (placesWithoutPosition ? ": holds no point with a position; nothing was written"
                                                 : ": holds no points (GPX: wpt elements, KML and KMZ: Placemarks with a Point); nothing was written"));
  }

  PointFile file;
  if (o.append) {
    auto opened = OpenPointFile(o.output, MissingFile::kStartEmpty);
    if (!opened) return kExitFailure;
    if (!opened->signatureMatched) return Fail(o.output + " is not a point file; it was left as it is");
    if (opened->file.CountStrayPoints() > 0) {
      return Fail(o.output + " has points after an empty slot (see pnt check); nothing was appended");
    }
    file = opened->file;
  }
  const int existing = file.GetPointCount();
  std::vector<PointPlace> existingPlaces;
  for (int slot = 0; slot < existing; ++slot) existingPlaces.push_back(PlaceOfPoint(file, slot));
  const std::size_t room = static_cast<std::size_t>(kSlotCount - existing);
  std::string tooMany = o.input + " holds " + std::to_string(parsed.points.size()) + " points";
  if (existing > 0) tooMany += " and " + o.output + " " + std::to_string(existing);
  // Left-out duplicates make room, so with --skip-duplicates the count is known only at the end.
  if (parsed.points.size() > room && !o.skipDuplicates) {
    if (!o.truncate) return Fail(tooMany + ", more than the 250 a point file holds; nothing was written (--truncate keeps what fits)");
    Warn(tooMany + "; only the first " + std::to_string(room) + " were kept");
    parsed.points.resize(room);
  }

  TextChanges changes;
  int unnamed = 0, duplicates = 0;
  std::size_t taken = 0;
  for (; taken < parsed.points.size() && file.GetPointCount() < kSlotCount; ++taken) {
    Waypoint& point = parsed.points[taken];
    const std::string label = labelOf(point);
    if (conversion->tokyo) {
      const GeoPosition tokyo = Wgs84ToTokyo({point.longitude, point.latitude});
      point.longitude = tokyo.longitude;
      point.latitude = tokyo.latitude;
    }
    auto longitude = UnitsFromDegrees(point.longitude);
    auto latitude = UnitsFromDegrees(point.latitude);
    if (!longitude || !latitude) {
      return Fail(label + ": longitude " + std::to_string(point.longitude) + ", latitude " +
                  std::to_string(point.latitude) +
                  " cannot be stored (a point file holds 0 to 582 degrees east and north); nothing was written");
    }
    TextChanges pointChanges;
    FittedTexts texts = FitWaypointTexts(point, pointChanges);
    if (o.strict && pointChanges.replaced > 0) {
      return Fail(label + ": has characters code page 932 cannot hold (--strict); nothing was written");
    }
    const int slot = file.GetPointCount();
    InsertWaypoint(file, slot, texts, *longitude, *latitude, point);
    // Judged as stored, by the rule the editor's import list judges by.
    const PointPlace place = PlaceOfPoint(file, slot);
    int same = 0;
    while (same < existing && !IsDuplicatePlace(place, existingPlaces[static_cast<std::size_t>(same)])) ++same;
    if (same < existing) {
      ++duplicates;
      Warn(label + ": the same place as slot " + std::to_string(same) + " \"" + Cp932ToUtf8(file.GetName(same)) +
           "\" of " + o.output + (o.skipDuplicates ? "; left out" : ""));
      if (o.skipDuplicates) {
        file.DeleteRecord(slot);
        continue;
      }
    }
    changes.replaced += pointChanges.replaced;
    changes.folded += pointChanges.folded;
    changes.cut += pointChanges.cut;
    if (texts.name.empty()) ++unnamed;
  }
  if (taken < parsed.points.size()) {
    tooMany += ", and " + std::to_string(duplicates) + " duplicate(s) left out";
    if (!o.truncate) return Fail(tooMany + ": more than the 250 a point file holds; nothing was written (--truncate keeps what fits)");
    Warn(tooMany + "; only the first " + std::to_string(file.GetPointCount() - existing) + " new points were kept");
  }
  if (duplicates > 0) {
    Warn(std::to_string(duplicates) + " point(s) are the same place as a point of " + o.output +
         (o.skipDuplicates ? " and were left out" : " (--skip-duplicates leaves them out)"));
  }
  if (changes.folded) {
    Warn(std::to_string(changes.folded) + " letter(s) with a diacritic code page 932 cannot hold were written as their base letter");
  }
  if (changes.replaced) Warn(std::to_string(changes.replaced) + " character(s) code page 932 cannot hold were written as \"?\"");
  if (changes.cut) Warn(std::to_string(changes.cut) + " text(s) longer than their fields were cut");
  if (unnamed) Warn(std::to_string(unnamed) + " point(s) have no name");
  if (parsed.ignoredTimes) {
    Warn(std::to_string(parsed.ignoredTimes) + " time(s) could not be read or stored; those points carry today's date");
  }
  if (file.GetPointCount() == existing) {
    Warn("every point is already in " + o.output + "; it was left as it is");
    return kExitOk;
  }
  return WritePointFile(file, o.output, o.backup);
}

}  // namespace

void AddImportCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<ImportOptions>();
  CLI::App* command = app.add_subcommand("import", "Read points from GPX, KML, CSV or GeoJSON into a point file");
  command->add_option("IN", o->input, "Input file, or - for standard input (then give --from)")->required();
  command->add_option("--from", o->from, "gpx, kml, kmz, csv or geojson (default: by the input's extension)");
  command->add_option("-o,--output", o->output, "Point file to write (.pnt)")->required();
  command->add_flag("--append", o->append, "Add the points after those already in the output file");
  command->add_flag("--force", o->force, "Replace an existing output file");
  command->add_flag("--backup", o->backup, "Keep the previous output file as FILE.bak");
  command->add_flag("--truncate", o->truncate, "Keep the first points that fit when there are more than 250");
  command->add_flag("--skip-duplicates", o->skipDuplicates,
                    "Leave out points at the place of a point already in the output file (the same name "
                    "within 300 m, or any point within 30 m)");
  command->add_flag("--strict", o->strict, "Fail on characters code page 932 cannot hold instead of writing \"?\"");
  AddConversionOptions(command, o->conversion,
                       "CSV text encoding: auto (default: UTF-8 or UTF-16 by their BOM, valid UTF-8, else cp932), utf-8, "
                       "utf-8-bom, cp932",
                       "auto");
  command->callback([o, &status] { status = RunImport(*o); });
}
