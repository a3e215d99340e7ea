#include "import/preview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "pointfile/duplicates.h"
#include "pointfile/point_file.h"
#include "pointfile/unit_area.h"

namespace {

// The preview measures a row against the open file's places with cheap lower bounds of the
// ground distance first, and with the rule itself only where they cannot tell. A bound on a
// sphere of 6300 km is below the distance on the rule's larger one; past the widest radius
// by a metre, a pair is no duplicate.
constexpr double kRadiusBelowTheRules = 6.3e6;
constexpr double kRadiansPerUnit = std::numbers::pi / 180.0 / kUnitsPerDegree;
constexpr double kBeyondTheRule = kSameNameRadiusMetres + 1.0;

// Two places further apart in latitude than this are further apart than the rule looks.
const std::uint32_t kLatitudeBandUnits =
    static_cast<std::uint32_t>(kBeyondTheRule / kRadiusBelowTheRules / kRadiansPerUnit);

struct Place {
  PointPlace place;
  double cosLatitude;
};

Place PlaceOf(const PointFile& file, int slot) {
  PointPlace place = PlaceOfPoint(file, slot);
  const double cosLatitude = std::cos(place.latitude * kRadiansPerUnit);
  return {std::move(place), cosLatitude};
}

// The haversine's h is at least cos(lat a) cos(lat b) sin²(Δlon / 2), so the distance is at
// least R min(cos) 2 sin(Δlon / 2), and sin(x) at least x (1 - x² / 6) for x up to 1, or
// 2x / π up to π / 2.
bool FarApartInLongitude(const Place& a, const Place& b) {
  const std::uint32_t units = a.place.longitude > b.place.longitude ? a.place.longitude - b.place.longitude
                                                                    : b.place.longitude - a.place.longitude;
  double half = units * kRadiansPerUnit / 2;
  if (half > std::numbers::pi / 2) half = std::numbers::pi - half;
  const double sinAtLeast = half <= 1 ? half * (1 - half * half / 6) : half * 2 / std::numbers::pi;
  return 2 * kRadiusBelowTheRules * std::min(a.cosLatitude, b.cosLatitude) * sinAtLeast > kBeyondTheRule;
}

// The open file's places in order of latitude, so that each row looks only at its band.
std::vector<Place> PlacesByLatitude(const PointFile& file) {
  std::vector<Place> places;
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (file.IsUsed(slot)) places.push_back(PlaceOf(file, slot));
  std::sort(places.begin(), places.end(),
            [](const Place& a, const Place& b) { return a.place.latitude < b.place.latitude; });
  return places;
}

bool HasDuplicateIn(const std::vector<Place>& places, const Place& row) {
  const std::uint32_t latitude = row.place.latitude;
  const std::uint32_t low = latitude > kLatitudeBandUnits ? latitude - kLatitudeBandUnits : 0;
  auto it = std::lower_bound(places.begin(), places.end(), low,
                             [](const Place& p, std::uint32_t units) { return p.place.latitude < units; });
  for (; it != places.end() && it->place.latitude - low <= 2 * kLatitudeBandUnits; ++it)
    if (!FarApartInLongitude(row, *it) && IsDuplicatePlace(row.place, it->place)) return true;
  return false;
}

}  // namespace

std::vector<RowVerdict> JudgeSourceRows(const PointFile& source, int rows, std::span<const SourceRowFacts> facts,
                                        const PointFile& open) {
  if (rows <= 0) return {};  // no source: the open file's places are not even gathered
  const std::vector<Place> openPlaces = PlacesByLatitude(open);
  std::vector<RowVerdict> verdicts(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    if (!source.IsUsed(row)) continue;
    const SourceRowFacts fact = row < static_cast<int>(facts.size()) ? facts[row] : SourceRowFacts{};
    RowVerdict& verdict = verdicts[row];
    verdict.point = true;
    verdict.shortened = fact.shortened;
    verdict.cannotStore = !fact.positionHeld || !IsInUnitArea(source.GetLongitude(row), source.GetLatitude(row));
    verdict.duplicate = !verdict.cannotStore && HasDuplicateIn(openPlaces, PlaceOf(source, row));
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
