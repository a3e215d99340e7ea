#include "app/point_entry.h"

#include <algorithm>

#include "pointfile/point_file.h"
#include "pointfile/text_forms.h"
#include "pointfile/unit_area.h"

PointEntry NewPointEntry() { return PointEntry{}; }

PointEntry ReadPointEntry(const PointFile& file, int slot) {
  PointEntry entry;
  entry.name = file.GetName(slot);
  entry.location = file.GetLocation(slot);
  entry.longitude = file.GetLongitudeText(slot);
  entry.latitude = file.GetLatitudeText(slot);
  entry.iconNumber = file.GetIcon(slot);
  entry.nickname = file.GetNickname(slot);
  entry.phone = file.GetPhone(slot);
  entry.voiceCode = file.GetVoiceCode(slot);
  entry.date = file.GetDateText(slot);
  entry.time = file.GetTimeText(slot);
  return entry;
}

namespace {

// The degrees of a coordinate text: the leading number of its first token, read as atol
// reads it (a sign, then digits; no digit gives 0). False when the text has no token.
bool ReadDegrees(std::string_view text, long& degrees) {
  std::size_t i = 0;
  while (i < text.size() && IsCoordinateSeparator(text[i])) ++i;
  if (i == text.size()) return false;
  // atol would also skip these blanks; the separators above are skipped already.
  while (i < text.size() && (text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), 1000000L);  // far out of range is enough
  }
  degrees = negative ? -value : value;
  return true;
}

}  // namespace

bool IsLatLonPlausible(std::string_view longitudeText, std::string_view latitudeText) {
  long longitude = 0;
  long latitude = 0;
  if (!ReadDegrees(longitudeText, longitude) || !ReadDegrees(latitudeText, latitude)) return false;
  return AreDegreesInUnitArea(longitude, latitude);
}

std::string CheckEntryOnOk(const std::string& name, const std::string& longitude,
                           const std::string& latitude) {
  if (name.empty()) return kEnterNameText;
  if (!IsLatLonPlausible(longitude, latitude)) return kEnterLatLonText;
  return {};
}

bool IsEntryComplete(const PointEntry& entry) {
  return !entry.name.empty() && !entry.longitude.empty() && !entry.latitude.empty();
}

namespace {

void StoreChangedFields(PointFile& file, int slot, const PointEntry& entry) {
  if (file.GetName(slot) != entry.name) file.SetName(slot, entry.name);
  if (file.GetLocation(slot) != entry.location) file.SetLocation(slot, entry.location);
  if (file.GetLongitudeText(slot) != entry.longitude) file.SetLongitudeText(slot, entry.longitude);
  if (file.GetLatitudeText(slot) != entry.latitude) file.SetLatitudeText(slot, entry.latitude);
  if (file.GetIcon(slot) != entry.iconNumber) file.SetIcon(slot, entry.iconNumber);
  if (file.GetNickname(slot) != entry.nickname) file.SetNickname(slot, entry.nickname);
  if (file.GetPhone(slot) != entry.phone) file.SetPhone(slot, entry.phone);
  const std::uint16_t voice = entry.voiceCode & PointRecord::kVoiceMask;
  if (file.GetVoiceCode(slot) != voice) file.SetVoiceCode(slot, voice);
}

}  // namespace

StoreResult StorePointEntry(PointFile& file, int slot, const PointEntry& entry) {
  if (!IsEntryComplete(entry)) return StoreResult::kIncomplete;
  StoreChangedFields(file, slot, entry);
  file.UpdateChecksum(slot);
  return StoreResult::kStored;
}

Insertion InsertPointEntry(PointFile& file, int slot, const PointEntry& entry, int maxPoints) {
  return InsertPoints(file, slot, IsEntryComplete(entry) ? 1 : 0, maxPoints, InsertionOrder::kInOrder,
                      [&](int at, int) { StoreChangedFields(file, at, entry); });
}

void StoreBulkChoice(PointFile& file, std::span<const int> slots, const BulkChoice& choice) {
  for (int slot : slots) {
    if (!file.IsUsed(slot)) continue;
    bool changed = false;
    if (choice.iconNumber && file.GetIcon(slot) != *choice.iconNumber) {
      file.SetIcon(slot, *choice.iconNumber);
      changed = true;
    }
    if (choice.voiceCode) {
      const std::uint16_t voice = *choice.voiceCode & PointRecord::kVoiceMask;
      if (file.GetVoiceCode(slot) != voice) {
        file.SetVoiceCode(slot, voice);
        changed = true;
      }
    }
    if (changed) file.UpdateChecksum(slot);
  }
}
