// The drag transfer's rule, which needs no window: points of a source file copied into the
// open file in front of the row they were dropped on.
#pragma once

#include <span>

#include "pointfile/point_insertion.h"

class PointFile;

// Copies the points in `sourceRows` (ascending; a row of an empty slot is skipped) of
// `source` in front of `dropRow` of `target`; a negative drop row means after the last
// point. Every point goes in at the drop row, above the ones before it, so they end up in
// the reverse of their order in the source. Each copy takes the name, location,
// coordinates, icon, nickname and phone exactly as stored, and keeps the voice of a fresh
// point; its date and time are a fresh point's too, or with `Stamps::kFromSource` the
// source's (an interchange file's points keep the time the file gave them). The copying
// stops when `target` holds `maxPoints`; the points copied until then stay.
enum class Stamps { kFresh, kFromSource };
Insertion TransferPoints(PointFile& target, int dropRow, const PointFile& source, std::span<const int> sourceRows,
                         int maxPoints, Stamps stamps = Stamps::kFresh);
