#include "import/transfer.h"

#include <vector>

#include "pointfile/point_file.h"

Insertion TransferPoints(PointFile& target, int dropRow, const PointFile& source, std::span<const int> sourceRows,
                         int maxPoints, Stamps stamps) {
  std::vector<int> points;
  for (const int row : sourceRows) {
    if (source.IsUsed(row)) points.push_back(row);
  }
  if (dropRow < 0) dropRow = target.CountPoints();
  return InsertPoints(target, dropRow, static_cast<int>(points.size()), maxPoints, InsertionOrder::kEachAtSlot,
                      [&](int slot, int k) {
                        target.CopyPointFrom(slot, source, points[k]);
                        if (stamps == Stamps::kFromSource) {
                          target.SetDate(slot, source.GetDate(points[k]));
                          target.SetTime(slot, source.GetTime(points[k]));
                        }
                      });
}
