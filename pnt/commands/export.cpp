// pnt export: the points of a point file as GPX, KML, CSV or GeoJSON.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "exchange/cp932.h"
#include "exchange/format.h"
#include "exchange/point_waypoint.h"
#include "pointfile/datum.h"
#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "pnt/commands/conversion_options.h"
#include "pnt/platform.h"

namespace {

struct ExportOptions {
  std::string path, to, output = "-";
  ConversionOptions conversion;
};

int RunExport(const ExportOptions& o) {
  std::optional<Format> format = FormatFromName(o.to);
  if (!format) return Fail("--to " + o.to + ": choose gpx, kml, kmz, csv or geojson");
  if (*format != Format::kCsv && o.conversion.encoding != "utf-8") {
    return Fail("--encoding applies to CSV only; " + std::string(FormatName(*format)) + " is always UTF-8");
  }
  const std::optional<std::string> corePath = CorePath(o.output);
  if (!corePath) return kExitFailure;
  if (HasPointFileExtension(*corePath)) {
    return Fail(o.output + ": will not write " + FormatName(*format) + " into a .pnt file");
  }
  auto conversion = PrepareConversion(o.conversion);
  if (!conversion) return kExitFailure;
  auto opened = OpenPointFile(o.path, MissingFile::kRefuse);
  if (!opened) return kExitFailure;
  if (!opened->signatureMatched) return kExitFailure;
  const PointFile& file = opened->file;
  std::vector<Waypoint> points;
  for (int i = 0; i < kSlotCount; ++i) {
    if (!file.IsUsed(i)) continue;
    Waypoint point = WaypointFromSlot(file, i);
    if (conversion->tokyo) {
      const GeoPosition wgs84 = TokyoToWgs84({point.longitude, point.latitude});
      point.longitude = wgs84.longitude;
      point.latitude = wgs84.latitude;
    }
    points.push_back(std::move(point));
  }
  std::string text = WriteWaypoints(*format, points, conversion->offsetMinutes);
  if (o.conversion.encoding == "utf-8-bom") {
    text.insert(0, "\xEF\xBB\xBF");
  } else if (o.conversion.encoding == "cp932") {
    // The texts came from code page 932; only bytes it could not decode come back as "?".
    Cp932Text converted = Utf8ToCp932(text);
    if (converted.replaced) {
      Warn(std::to_string(converted.replaced) + " undecodable character(s) were written as \"?\"");
    }
    text = std::move(converted.text);
  }
  if (o.output == "-") {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
      return Fail("standard output could not be written");
    }
    return kExitOk;
  }
  FileCause cause = SystemFileStore().Replace(*corePath, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  if (cause != FileCause::kNone) {
    StderrSink sink(o.output);
    ShowFileError(cause, *corePath, sink);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand("export", "Write the points as GPX, KML, CSV or GeoJSON");
  command->add_option("FILE", o->path, "Point file (.pnt)")->required();
  command->add_option("--to", o->to, "gpx, kml, kmz, csv or geojson")->required();
  command->add_option("-o,--output", o->output, "Output file, or - for standard output (default)");
  AddConversionOptions(command, o->conversion,
                       "CSV text encoding: utf-8 (default), utf-8-bom (for spreadsheets), cp932",
                       "utf-8");
  command->callback([o, &status] { status = RunExport(*o); });
}
