// What the lists and pnt do with a used slot: every field shown as text. Each text must stay
// within its field's size and have its form, whatever bytes the slot holds.
#pragma once

#include "pointfile/fuzz/fuzz_check.h"
#include "pointfile/point_file.h"

inline void ShowSlot(const PointFile& file, int i) {
  Require(file.GetName(i).size() <= 40 && file.GetLocation(i).size() <= 40);
  Require(file.GetNickname(i).size() <= 30 && file.GetPhone(i).size() <= 25);
  Require(file.GetLongitudeText(i).size() == 13 && file.GetLatitudeText(i).size() == 13);
  Require(file.GetIconText(i).size() <= 3 && file.GetIcon(i) == (file.GetIcon(i) & 0xFF));
  Require(!file.GetDateText(i).empty() && !file.GetTimeText(i).empty());
  Require((file.GetVoiceCode(i) & ~PointRecord::kVoiceMask) == 0);
  (void)file.GetFlagWord(i);
  (void)(file.GetChecksum(i) == file.ComputeChecksum(i));
}
