// Points to and from the clipboard's text: what Paste reads into the open file and what Copy
// puts on the clipboard for spreadsheets and for Paste. Texts here are UTF-8, as the
// framework hands the clipboard over; positions on the clipboard are WGS 84. Needs no window.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "import/foreign_points.h"
#include "pointfile/point_file.h"
#include "pointfile/point_insertion.h"

// The name of a pasted point whose text gives none.
inline constexpr char kPastedPointName[] = "新しいポイント";

// The points of pasted text (exchange/pasted_text.h) into `points` from slot 0, converted as
// an imported file's are (the unit's datum, texts fitted to the fields). Nothing is loaded,
// and the message says why, when the text holds no position that can be stored.
ForeignRead ReadPastedPoints(std::string_view text, bool tokyoDatum, PointFile& points);

// Inserts the points of `pasted` in front of `slot`, in their order, each with all it holds
// (its time stamp too), as long as the file holds fewer than `maxPoints`.
Insertion InsertPastedPoints(PointFile& file, int slot, const PointFile& pasted, int maxPoints);

// The text Copy puts on the clipboard: a header line with the CSV columns, then one line per
// point of `slots` (blank slots left out), tab-separated, positions in WGS 84 degrees. Paste
// of it gives back every field of every point.
std::string CopiedPointsText(const PointFile& file, std::span<const int> slots, bool tokyoDatum);
