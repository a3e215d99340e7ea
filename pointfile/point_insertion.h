// New points enter a file through here, whatever brings them (the edit dialog, the map's
// marker, a drag from the import list): each gets a fresh slot (InsertRecord: in use, icon 1,
// the time of the insertion), is filled by the caller and sealed with its checksum.
// Points go in front of the slot asked for, but never past the leading run of points: a file
// from elsewhere may hold points after a gap, and a new point there would land on one of them.
#pragma once

#include <functional>
#include <string>

class PointFile;

struct Insertion {
  int first = 0;      // where the new points begin; they fill slots first .. first + count - 1
  int count = 0;      // how many went in
  bool full = false;  // insertion stopped: the file held as many points as it may
};

enum class InsertionOrder {
  kInOrder,     // point k goes to the slot asked for plus k
  kEachAtSlot,  // every point goes to the slot asked for, above the ones before it: they
                // end up in the reverse of their order, as a drag's drop leaves them
};

// Inserts `count` points in front of `slot`, as long as the file holds fewer than
// `maxPoints`; `fill(slot, k)` gives the fresh slot what point k holds.
Insertion InsertPoints(PointFile& file, int slot, int count, int maxPoints, InsertionOrder order,
                       const std::function<void(int slot, int k)>& fill);

// The one message for a file that takes no more points: "%d地点以上は登録出来ません".
std::string PointLimitText(int maxPoints);
