// One coordinate value as people and spreadsheets write it, read by one function for the CSV
// reader and the editor's paste.
#pragma once

#include <optional>
#include <string_view>

struct DegreesText {
  double degrees = 0;   // north and east positive: S and W make it negative
  char hemisphere = 0;  // 'N', 'S', 'E' or 'W' when the text names one, else 0
};

// Reads a single latitude or longitude (UTF-8), blanks around it allowed:
//   35.681236   -0.5   +139.7                          decimal degrees
//   35°40'52.5"N   N35°40.875'   139°46′01.6″E          degrees, minutes, seconds with their
//                                                       symbols (also º ˚ ’ ” and '' for ")
//   35 40 52.5 N   35:40:52.5                          the same by position
//    35/40/52.500                                       the editor's own DMS text
//   北緯35度40分52.5秒   東経139度46分1.6秒                 the Japanese way
// Full-width digits, signs and letters read as their ASCII forms. The hemisphere letter may
// stand before or after the value, but not together with a sign. Minutes and seconds must be
// below 60, only the last part may have decimals, and the value must lie within 180 degrees
// (90 with N or S). Nothing when the text is anything else.
std::optional<DegreesText> ParseDegreesText(std::string_view text);
