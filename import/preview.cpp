#include "import/preview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "pointfile/duplicates.h"
#include "pointfile/point_file.h"
#include "pointfile/unit_area.h"

namespace {

// Two places further apart in latitude than this many units are further apart than the
// duplicate rule's widest radius (on any sphere of at least 6300 km): the rule need not
// measure them. With the open file's places in order of latitude, each row measures only
// the few in its band.
const std::uint32_t kLatitudeBandUnits = static_cast<std::uint32_t>(
    (kSameNameRadiusMetres + 1.0) / (6.3e6 * std::numbers::pi / 180.0) * kUnitsPerDegree);

std::vector<PointPlace> PlacesByLatitude(const PointFile& file) {
  std::vector<PointPlace> places;
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (file.IsUsed(slot)) places.push_back(PlaceOfPoint(file, slot));
  std::sort(places.begin(), places.end(), [](const PointPlace& a, const PointPlace& b) { return a.latitude < b.latitude; });
  return places;
}

bool HasDuplicateIn(const std::vector<PointPlace>& places, const PointPlace& place) {
  const std::uint32_t low = place.latitude > kLatitudeBandUnits ? place.latitude - kLatitudeBandUnits : 0;
  auto it = std::lower_bound(places.begin(), places.end(), low,
                             [](const PointPlace& p, std::uint32_t latitude) { return p.latitude < latitude; });
  for (; it != places.end() && it->latitude - low <= 2 * kLatitudeBandUnits; ++it)
    if (IsDuplicatePlace(place, *it)) return true;
  return false;
}

}  // namespace

std::vector<RowVerdict> JudgeSourceRows(const PointFile& source, int rows, std::span<const SourceRowFacts> facts,
                                        const PointFile& open) {
  const std::vector<PointPlace> openPlaces = PlacesByLatitude(open);
  std::vector<RowVerdict> verdicts(static_cast<std::size_t>(std::max(rows, 0)));
  for (int row = 0; row < rows; ++row) {
    if (!source.IsUsed(row)) continue;
    const SourceRowFacts fact = row < static_cast<int>(facts.size()) ? facts[row] : SourceRowFacts{};
    RowVerdict& verdict = verdicts[row];
    verdict.point = true;
    verdict.shortened = fact.shortened;
    verdict.cannotStore = !fact.positionHeld || !IsInUnitArea(source.GetLongitude(row), source.GetLatitude(row));
    verdict.duplicate = !verdict.cannotStore && HasDuplicateIn(openPlaces, PlaceOfPoint(source, row));
  }
  return verdicts;
}

PreviewCounts CountVerdicts(std::span<const RowVerdict> verdicts) {
  PreviewCounts counts;
  for (const RowVerdict& verdict : verdicts) {
    counts.points += verdict.point;
    counts.duplicates += verdict.duplicate;
    counts.cannotStore += verdict.cannotStore;
    counts.shortened += verdict.shortened;
  }
  return counts;
}

std::string PreviewSummaryText(const PreviewCounts& counts) {
  std::string text = "インポート " + std::to_string(counts.points) + "地点";
  const char* separator = ": ";
  for (const auto& [label, count] : {std::pair{"重複 ", counts.duplicates}, std::pair{"登録不可 ", counts.cannotStore},
                                     std::pair{"短縮 ", counts.shortened}}) {
    if (count == 0) continue;
    text += separator + std::string(label) + std::to_string(count);
    separator = ", ";
  }
  return text;
}

DraggedRows SortDraggedRows(std::span<const RowVerdict> verdicts, std::span<const int> selected) {
  DraggedRows dragged;
  for (const int row : selected) {
    if (row < 0 || row >= static_cast<int>(verdicts.size()) || !verdicts[row].point) continue;
    if (verdicts[row].cannotStore) {
      ++dragged.cannotStore;
      continue;
    }
    dragged.storable.push_back(row);
    if (!verdicts[row].duplicate) dragged.fresh.push_back(row);
  }
  return dragged;
}

std::string DuplicateQuestionText(int duplicates) {
  return "ドラッグした地点のうち " + std::to_string(duplicates) +
         " 地点は、開いているファイルに既にある地点と重複しています。\n"
         "重複する地点も追加しますか?\n\n"
         "[はい]\tすべて追加する\n"
         "[いいえ]\t重複しない地点だけ追加する\n"
         "[キャンセル]\t何も追加しない";
}
