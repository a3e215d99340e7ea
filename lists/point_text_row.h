// The seven texts a list row shows for one point, in the forms the user reads.
#pragma once

#include <string>

class PointFile;

struct PointTextRow {
  std::string name;
  std::string longitude;  // DMS text
  std::string latitude;   // DMS text
  std::string location;
  std::string icon;  // "%02d"
  std::string nickname;
  std::string phone;

  // The texts of slot `slot`. An empty slot gives an all-empty row: a file from elsewhere
  // can hold points after an empty slot, and the list keeps row i for slot i by showing
  // such a gap as a blank row.
  static PointTextRow FromSlot(const PointFile& file, int slot);
  // The same, into this row: its strings keep their storage, so refilling one work row for
  // every slot of a file allocates nothing.
  void ReadSlot(const PointFile& file, int slot);

  bool operator==(const PointTextRow&) const = default;
};

// How many rows the list shows for `file`: one per slot up to the last used slot, so that
// row i is slot i even when a file from elsewhere has gaps.
int ListedSlotCount(const PointFile& file);

// The image-list index for a row's icon text: the icon number - 1, or -1 (no image) when the
// text is not an icon number with a picture (1-55).
int IconImageIndex(const std::string& iconText);

inline constexpr int kPointIconCount = 55;
