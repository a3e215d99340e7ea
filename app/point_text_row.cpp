#include "app/point_text_row.h"

#include <cctype>

#include "pointfile/point_file.h"

PointTextRow PointTextRow::FromSlot(const PointFile& file, int slot) {
  PointTextRow row;
  if (!file.IsUsed(slot)) return row;
  row.name = file.GetName(slot);
  row.longitude = file.GetLongitudeText(slot);
  row.latitude = file.GetLatitudeText(slot);
  row.location = file.GetLocation(slot);
  row.icon = file.GetIconText(slot);
  row.nickname = file.GetNickname(slot);
  row.phone = file.GetPhone(slot);
  return row;
}

int ListedSlotCount(const PointFile& file) {
  for (int i = kSlotCount; i > 0; --i) {
    if (file.IsUsed(i - 1)) return i;
  }
  return 0;
}

int IconImageIndex(const std::string& iconText) {
  if (iconText.empty() || iconText.size() > 3) return -1;
  int number = 0;
  for (char c : iconText) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    number = number * 10 + (c - '0');
  }
  return number >= 1 && number <= kPointIconCount ? number - 1 : -1;
}
