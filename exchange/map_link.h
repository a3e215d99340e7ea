// Positions in the links and URIs that map services and phones copy: what a pasted link or a
// saved place's URL says of where the place is, and what it is called.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct LinkedPlace {
  double latitude = 0, longitude = 0;  // WGS 84 degrees, north and east positive
  std::string name;                    // UTF-8; empty when the link names no place
};

// The place a link gives, read from (in this order of trust):
//   geo:lat,lon[;...][?q=lat,lon(name)]     a geo: URI (RFC 5870)
//   ...!3d<lat>!4d<lon>...                  the place's own position in a map service's data part
//   .../@lat,lon,zoom...                    the map's centre
//   ?q=lat,lon  ?query=lat,lon  ?ll=lat,lon  ?mlat=..&mlon=..   query parameters
//   #map=zoom/lat/lon or #zoom/lat/lon      a fragment
// The name comes from a /place/<name>/ segment (percent-decoded, '+' as a blank) or a geo:
// URI's "(name)", control characters in it as blanks. Nothing, with `error` empty, when the
// link carries no position (a short link, which only the network could resolve); nothing with
// `error` set when the link is broken: a percent-encoded name that is not UTF-8, coordinates
// out of range.
std::optional<LinkedPlace> PlaceFromLink(std::string_view link, std::string& error);
