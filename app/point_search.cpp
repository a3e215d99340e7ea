#include "app/point_search.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>

#include "app/text_folding.h"
#include "pointfile/point_file.h"

std::vector<int> FindPoints(const PointFile& file, std::string_view text) {
  std::vector<int> found;
  const std::u16string needle = FoldText(text);
  if (needle.empty()) return found;
  using Getter = void (PointFile::*)(int, std::string&) const;
  constexpr Getter kSearched[] = {&PointFile::GetName, &PointFile::GetNickname, &PointFile::GetLocation,
                                  &PointFile::GetPhone};
  std::string field;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (!file.IsUsed(slot)) continue;
    for (Getter get : kSearched) {
      (file.*get)(slot, field);
      if (field.size() >= needle.size() && FoldText(field).find(needle) != std::u16string::npos) {
        found.push_back(slot);
        break;
      }
    }
  }
  return found;
}

namespace {

struct SortKey {
  std::u16string text;
  std::uint32_t number = 0;
  bool operator<(const SortKey& other) const {
    return text != other.text ? text < other.text : number < other.number;
  }
};

SortKey KeyOf(const PointFile& file, int slot, PointColumn column) {
  switch (column) {
    case PointColumn::kIcon:
      return {{}, static_cast<std::uint32_t>(file.GetIcon(slot))};
    case PointColumn::kName:
      return {TextUnits(file.GetName(slot))};
    case PointColumn::kNickname:
      return {FoldText(file.GetNickname(slot))};
    case PointColumn::kLocation:
      return {TextUnits(file.GetLocation(slot))};
    case PointColumn::kPhone:
      return {TextUnits(file.GetPhone(slot))};
    case PointColumn::kLongitude:
      return {{}, file.GetLongitude(slot)};
    case PointColumn::kLatitude:
      return {{}, file.GetLatitude(slot)};
  }
  return {};
}

}  // namespace

bool SortPoints(PointFile& file, PointColumn column, bool descending) {
  std::vector<int> used;
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (file.IsUsed(slot)) used.push_back(slot);
  std::vector<SortKey> keys(kSlotCount);
  for (int slot : used) keys[slot] = KeyOf(file, slot, column);

  std::vector<int> order = used;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return descending ? keys[b] < keys[a] : keys[a] < keys[b];
  });
  if (order == used) return false;
  // Slot used[k] receives the point of slot order[k]; the empty slots stay as they are.
  std::vector<int> sources(kSlotCount);
  std::iota(sources.begin(), sources.end(), 0);
  for (size_t k = 0; k < used.size(); ++k) sources[used[k]] = order[k];
  file.ReorderSlots(sources);
  return true;
}
