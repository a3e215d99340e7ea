#include "pointfile/point_insertion.h"

#include <algorithm>
#include <cstdio>

#include "pointfile/point_file.h"

Insertion InsertPoints(PointFile& file, int slot, int count, int maxPoints, InsertionOrder order,
                       const std::function<void(int slot, int k)>& fill) {
  Insertion done;
  done.first = std::clamp(slot, 0, file.CountPoints());
  for (int k = 0; k < count; ++k) {
    const int at = order == InsertionOrder::kInOrder ? done.first + k : done.first;
    if (file.GetPointCount() >= maxPoints || file.InsertRecord(at) < 0) {
      done.full = true;
      break;
    }
    fill(at, k);
    file.UpdateChecksum(at);
    ++done.count;
  }
  return done;
}

std::string PointLimitText(int maxPoints) {
  char text[64];
  std::snprintf(text, sizeof text, "%d地点以上は登録出来ません", maxPoints);
  return text;
}
