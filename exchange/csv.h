// CSV as RFC 4180 describes it: a header row naming the columns, then one row per point;
// fields with the separator, a quote or a line break are quoted, quotes doubled; lines end in
// CRLF. Texts here are UTF-8; the caller chooses the file's encoding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/waypoint.h"

// name,latitude,longitude,location,nickname,phone,icon,voice,date,time with `separator`
// between the fields: ',' for a file, '\t' for what a spreadsheet takes from the clipboard.
// A point without a position has empty latitude and longitude cells.
std::string WriteCsv(const std::vector<Waypoint>& points, char separator = ',');

// Reads what WriteCsv writes, and the CSV and tab-separated text that spreadsheets and map
// services write:
// - the separator is the comma, tab or semicolon that the header row uses most;
// - columns are found by their header names (any case, blanks around them ignored) in any
//   order, unknown ones passed over: name (title, 名称, 名前), latitude (lat, 緯度), longitude
//   (lon, lng, long, 経度), location (address, 住所, 所在地), nickname, phone (tel, 電話),
//   icon, voice, date (日付), time (時刻), url (link);
// - coordinates in decimal degrees or any form ParseDegreesText reads;
// - the date column may hold an ISO 8601 date ("2024-05-01") or date and time
//   ("2024-05-01T09:30:00+09:00", a zone converted to local time at `offsetMinutes`), or
//   the date and time in one cell ("2024/05/01 09:30:00") when the time column is empty;
// - a row whose latitude and longitude cells are both empty takes its position, and its name
//   when it has none, from its URL cell (a map link); without one it is a place without a
//   position (hasPosition false); a row that then gives nothing at all is passed over. A file
//   needs latitude and longitude columns or a URL column.
ParsedWaypoints ReadCsv(std::string_view text, int offsetMinutes);
