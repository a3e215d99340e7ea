#include "lists/point_text_row.h"

#include <cctype>

#include "pointfile/point_file.h"

PointTextRow PointTextRow::FromSlot(const PointFile& file, int slot) {
  PointTextRow row;
  row.ReadSlot(file, slot);
  return row;
}

void PointTextRow::ReadSlot(const PointFile& file, int slot) {
  if (!file.IsUsed(slot)) {
    for (std::string* text : {&name, &longitude, &latitude, &location, &icon, &nickname, &phone}) text->clear();
    return;
  }
  file.GetName(slot, name);
  longitude = file.GetLongitudeText(slot);  // the short texts fit in the string itself
  latitude = file.GetLatitudeText(slot);
  file.GetLocation(slot, location);
  icon = file.GetIconText(slot);
  file.GetNickname(slot, nickname);
  file.GetPhone(slot, phone);
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
