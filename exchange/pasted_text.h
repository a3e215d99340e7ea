// Text pasted from the clipboard as points, one a line: a coordinate pair as a map's
// right-click copies it ("35.681236, 139.767125", or DMS with hemisphere letters), a geo: URI
// or a map link that carries a position, or the table Copy writes (a header line with the
// CSV columns, tab-separated). Texts are UTF-8; positions WGS 84.
#pragma once

#include <cstddef>
#include <string_view>

#include "exchange/waypoint.h"

// Pasted text longer than this is refused unread: a point takes one short line, and 250 of
// them with long links stay far below it, while a whole document pasted by mistake (10 MB)
// is answered at once.
inline constexpr std::size_t kPastedTextLimit = 1024 * 1024;

// The points of the text, in its order; a point's name is the link's place, or the text
// before the position on its line, or empty when there is none (the caller names it). The
// first line that holds no position, or an unreadable table, refuses the whole text: the
// error names the line and, for a link, why (a short link only the network resolves).
// Dates in the table with a zone are taken to local time at `offsetMinutes` east of UTC.
ParsedWaypoints ReadPastedText(std::string_view text, int offsetMinutes);
