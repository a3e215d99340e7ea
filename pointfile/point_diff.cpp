#include "pointfile/point_diff.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "pointfile/duplicates.h"
#include "pointfile/point_file.h"
#include "pointfile/point_record.h"

namespace {

std::vector<int> UsedSlots(const PointFile& file) {
  std::vector<int> slots;
  for (int i = 0; i < kSlotCount; ++i) {
    if (file.IsUsed(i)) slots.push_back(i);
  }
  return slots;
}

std::vector<PointField> ChangedFields(const PointFile& a, int i, const PointFile& b, int j) {
  std::vector<PointField> changed;
  for (PointField field : kComparedFields) {
    if (PointFieldText(a, i, field) != PointFieldText(b, j, field)) changed.push_back(field);
  }
  return changed;
}

// Marks as moved the pairs outside one longest run whose B slots rise with their A slots:
// those keep their order, every other one changed its place among them.
void MarkMoved(std::vector<PairedPoint>& paired) {
  const std::size_t n = paired.size();
  std::vector<int> length(n, 1), previous(n, -1);
  std::size_t best = 0;
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t m = 0; m < k; ++m) {
      if (paired[m].slotB < paired[k].slotB && length[m] + 1 > length[k]) {
        length[k] = length[m] + 1;
        previous[k] = static_cast<int>(m);
      }
    }
    if (length[k] > length[best]) best = k;
  }
  for (PairedPoint& pair : paired) pair.moved = true;
  for (int k = n ? static_cast<int>(best) : -1; k >= 0; k = previous[k]) paired[k].moved = false;
}

}  // namespace

const char* PointFieldName(PointField field) {
  switch (field) {
    case PointField::kName: return "name";
    case PointField::kLocation: return "location";
    case PointField::kNickname: return "nickname";
    case PointField::kPhone: return "phone";
    case PointField::kLongitude: return "longitude";
    case PointField::kLatitude: return "latitude";
    case PointField::kIcon: return "icon";
    case PointField::kVoice: return "voice";
    case PointField::kDate: return "date";
    case PointField::kTime: return "time";
  }
  return "";
}

std::string PointFieldText(const PointFile& file, int slot, PointField field) {
  switch (field) {
    case PointField::kName: return file.GetName(slot);
    case PointField::kLocation: return file.GetLocation(slot);
    case PointField::kNickname: return file.GetNickname(slot);
    case PointField::kPhone: return file.GetPhone(slot);
    case PointField::kLongitude: return file.GetLongitudeText(slot);
    case PointField::kLatitude: return file.GetLatitudeText(slot);
    case PointField::kIcon: return file.GetIconText(slot);
    case PointField::kVoice: return std::to_string(file.GetVoiceCode(slot) >> 5);
    case PointField::kDate: return file.GetDateText(slot);
    case PointField::kTime: return file.GetTimeText(slot);
  }
  return {};
}

int PointDiff::DifferingPoints() const {
  int count = static_cast<int>(removed.size() + added.size());
  for (const PairedPoint& pair : paired) count += pair.moved || !pair.changed.empty() ? 1 : 0;
  return count;
}

// Of all pairs the rule allows, the closest are taken first: identical points, then points of
// the same name, then by distance and by how far apart their slots are.
PointDiff DiffPoints(const PointFile& a, const PointFile& b) {
  const std::vector<int> slotsA = UsedSlots(a);
  const std::vector<int> slotsB = UsedSlots(b);
  std::vector<PointPlace> placesB;
  for (int j : slotsB) placesB.push_back(PlaceOfPoint(b, j));

  struct Candidate {
    std::tuple<bool, bool, double, int, int, int> rank;
    PairedPoint pair;
  };
  std::vector<Candidate> candidates;
  for (int i : slotsA) {
    const PointPlace placeA = PlaceOfPoint(a, i);
    for (std::size_t k = 0; k < slotsB.size(); ++k) {
      const int j = slotsB[k];
      if (!IsDuplicatePlace(placeA, placesB[k])) continue;
      PairedPoint pair{i, j, false, ChangedFields(a, i, b, j)};
      candidates.push_back({{!pair.changed.empty(), placeA.name != placesB[k].name,
                             GroundDistanceMetres(placeA, placesB[k]), std::abs(i - j), i, j},
                            std::move(pair)});
    }
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const Candidate& x, const Candidate& y) { return x.rank < y.rank; });

  std::vector<bool> takenA(kSlotCount), takenB(kSlotCount);
  PointDiff diff;
  for (Candidate& candidate : candidates) {
    PairedPoint& pair = candidate.pair;
    if (takenA[pair.slotA] || takenB[pair.slotB]) continue;
    takenA[pair.slotA] = takenB[pair.slotB] = true;
    diff.paired.push_back(std::move(pair));
  }
  std::sort(diff.paired.begin(), diff.paired.end(),
            [](const PairedPoint& x, const PairedPoint& y) { return x.slotA < y.slotA; });
  MarkMoved(diff.paired);
  for (int i : slotsA) {
    if (!takenA[i]) diff.removed.push_back(i);
  }
  for (int j : slotsB) {
    if (!takenB[j]) diff.added.push_back(j);
  }
  return diff;
}
