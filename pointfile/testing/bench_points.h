// The point file the benchmarks of both builds work on: every field in use, sealed.
#pragma once

#include <string>

#include "pointfile/point_file.h"

// A point file of `count` points named "東京駅 0", "東京駅 1", ...; the icons run 1 to 55.
inline PointFile BenchPoints(int count) {
  PointFile file;
  for (int i = 0; i < count; ++i) {
    file.InsertRecord(i);
    file.SetName(i, "東京駅 " + std::to_string(i));
    file.SetLocation(i, "東京都千代田区丸の内");
    file.SetNickname(i, "とうきょうえき");
    file.SetPhone(i, "03-1234-5678");
    file.SetLongitudeText(i, "139/46/01.500");
    file.SetLatitudeText(i, "35/40/52.250");
    file.SetIcon(i, i % 55 + 1);
  }
  for (int i = 0; i < count; ++i) file.UpdateChecksum(i);
  return file;
}
