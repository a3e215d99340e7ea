// What the point edit dialog shows and hands back for one point, and the rules that connect
// it with the point table: the checks on OK and the write-back of the changed fields.
// Nothing here knows of windows, so the rules can be tested on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "pointfile/point_insertion.h"

class PointFile;

struct PointEntry {
  std::string name;
  std::string nickname;
  std::string location;
  std::string phone;
  std::string longitude;  // DMS text as typed
  std::string latitude;   // DMS text as typed
  std::string date;       // shown only, never stored
  std::string time;       // shown only, never stored
  int iconNumber = 1;
  // Voice bits in their flag-word place. A new point starts from 0x8400, whose voice bits
  // are 0 (fanfare); only the bits 0x3E0 are ever compared or stored.
  std::uint16_t voiceCode = 0x8400;
};

// The icon numbers the dialog's spin control offers: wider than the 55 pictures, because
// the unit knows more icons than the editor draws.
inline constexpr int kMinIconNumber = 1;
inline constexpr int kMaxIconNumber = 181;

// The entry of a new point: every text empty, icon 1, fanfare.
PointEntry NewPointEntry();

// The entry of the point in `slot`.
PointEntry ReadPointEntry(const PointFile& file, int slot);

// True when both texts start with a number of degrees in the unit's area (pointfile/unit_area.h:
// longitude 122-146, latitude 24-45). Only the first number of each text is looked at.
bool IsLatLonPlausible(std::string_view longitudeText, std::string_view latitudeText);

// The texts the dialog and its caller show.
inline constexpr char kEnterNameText[] = "地点名称を入力してください。";
inline constexpr char kEnterLatLonText[] = "緯度、経度を正しく入力してください。";
inline constexpr char kEntryIncompleteText[] = "地点名称、緯度、経度を正しく入力して下さい。";

// The check made when the user presses OK: the message to show and keep the dialog open
// with, or an empty string to close it.
std::string CheckEntryOnOk(const std::string& name, const std::string& longitude,
                           const std::string& latitude);

// Whether the entry can be stored: a name and both coordinates given. An incomplete entry
// changes nothing; the caller shows kEntryIncompleteText.
bool IsEntryComplete(const PointEntry& entry);

enum class StoreResult {
  kStored,      // written (or nothing needed writing) and the checksum updated
  kIncomplete,  // name or a coordinate empty: nothing changed
};

// Writes `entry` into the point in slot `slot`. Only the fields whose value differs from the
// stored one are written, so an unchanged point keeps its exact bytes and the file's
// modified flag; then the slot's checksum is sealed.
StoreResult StorePointEntry(PointFile& file, int slot, const PointEntry& entry);

// What a bulk edit sets on every chosen point; a choice left empty leaves that field alone.
struct BulkChoice {
  std::optional<int> iconNumber;
  std::optional<std::uint16_t> voiceCode;  // voice bits in place, as in PointEntry
};

// Sets `choice` on each used slot of `slots`, writing only what differs (as StorePointEntry
// does), and seals each changed slot's checksum.
void StoreBulkChoice(PointFile& file, std::span<const int> slots, const BulkChoice& choice);

// A new point in front of `slot` with what `entry` holds, through InsertPoints: nothing goes
// in for an incomplete entry, or when the file already holds `maxPoints` points.
Insertion InsertPointEntry(PointFile& file, int slot, const PointEntry& entry, int maxPoints);
