// Points from the interchange files the import list reads besides point files (GPX, KML, KMZ,
// CSV, GeoJSON), made into the slots of a point file, so that the list shows them and the
// transfer copies them as it does a point file's own. Needs no window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/format.h"
#include "import/preview.h"
#include "pointfile/point_file.h"

// The format by the file name's extension, as pnt picks it, and .txt as CSV; nothing for a
// point file or any other name.
std::optional<Format> ForeignFormat(std::string_view path);

// What reading a file left for the user to know (Shift_JIS; empty when nothing).
struct ForeignRead {
  bool loaded = false;  // false: the file was refused and `points` left as it was
  std::string message;
  std::vector<SourceRowFacts> rows;  // one per point read, row i for slot i
};

// Reads the bytes of an interchange file into `points` from slot 0, as `pnt import` stores
// them (texts fitted to the fields, the time stamp and icon where the file gives them),
// with the coordinates converted from WGS 84 to the Tokyo datum when `tokyoDatum`. A place
// without a position a slot can hold (none given, or west or south of the zero lines) is
// kept as a row with coordinates 0, and its facts say so; points beyond the slots are left
// out and counted in the message. A file that cannot be read, or holds no point, loads nothing.
ForeignRead ReadForeignPoints(Format format, std::string bytes, bool tokyoDatum, PointFile& points);
// The same for places already read from a file.
ForeignRead StoreForeignPoints(const std::vector<Waypoint>& places, bool tokyoDatum, PointFile& points);
