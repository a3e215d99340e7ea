// What differs between two point files, point by point. Points are paired by the duplicate
// rule (duplicates.h), so a point that was edited, or that moved in the table, is still
// recognised as the same point rather than as one removed and another added.
#pragma once

#include <string>
#include <vector>

class PointFile;

// The fields of a point the comparison looks at, in the order they are reported.
enum class PointField { kName, kLocation, kNickname, kPhone, kLongitude, kLatitude, kIcon, kVoice, kDate, kTime };
inline constexpr PointField kComparedFields[] = {
    PointField::kName,      PointField::kLocation, PointField::kNickname, PointField::kPhone, PointField::kLongitude,
    PointField::kLatitude,  PointField::kIcon,     PointField::kVoice,    PointField::kDate,  PointField::kTime};

// "name", "location", ... as scripts see them.
const char* PointFieldName(PointField field);
// The field as the editor shows it (Shift_JIS; coordinates as DMS text, the voice as its number).
std::string PointFieldText(const PointFile& file, int slot, PointField field);

struct PairedPoint {
  int slotA = 0;
  int slotB = 0;
  // Its place among the other paired points changed (not merely its slot number, which every
  // point after an insertion or a removal changes).
  bool moved = false;
  std::vector<PointField> changed;
};

struct PointDiff {
  std::vector<int> removed;          // slots of A without a partner, ascending
  std::vector<int> added;            // slots of B without a partner, ascending
  std::vector<PairedPoint> paired;   // in A's slot order
  // Points removed, added, moved or changed: 0 when the files hold the same points.
  int DifferingPoints() const;
};

// Compares the used slots of `a` and `b` (stray points outside the leading run included).
PointDiff DiffPoints(const PointFile& a, const PointFile& b);
