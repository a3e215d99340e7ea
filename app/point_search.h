// Find and sort over the open file's points, without any window: which slots hold a text
// (in the name, nickname, location or phone, folded as text_folding.h says), and the points
// put in the order of one of the list's columns.
#pragma once

#include <string_view>
#include <vector>

class PointFile;

// The used slots whose name, nickname, location or phone holds `text` (Shift_JIS), folded;
// none for an empty text.
std::vector<int> FindPoints(const PointFile& file, std::string_view text);

// The list's columns, in their order.
enum class PointColumn { kIcon, kName, kNickname, kLocation, kPhone, kLongitude, kLatitude };
inline constexpr int kPointColumnCount = 7;

// Sorts the points by `column`, stably, descending when asked: icon number, longitude and
// latitude as numbers, name, location and phone by their codes (JIS order), the nickname
// folded so that readings follow the kana table. The used slots stay the used slots (a
// gap between points stays where it is); only the points move among them, whole. True
// when the order changed.
bool SortPoints(PointFile& file, PointColumn column, bool descending);
