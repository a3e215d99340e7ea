#include "exchange/map_link.h"

#include <cmath>
#include <vector>

#include "exchange/utf8.h"
#include "exchange/values.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX escapes decoded; a '%' not followed by two hex digits stays as it is. With
// `plusIsBlank` (query values and the path's place names), '+' is a blank.
std::string PercentDecoded(std::string_view text, bool plusIsBlank) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else if (text[i] == '+' && plusIsBlank) {
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

struct Position {
  double latitude, longitude;
};

std::optional<double> Number(std::string_view text) {
  std::optional<double> value = ParseNumber(text);
  if (value && !std::isfinite(*value)) return std::nullopt;
  return value;
}

// "lat,lon" with blanks allowed around either number, or "lat lon" ("loc:" before it, as some
// links write).
std::optional<Position> PairOf(std::string_view text) {
  if (StartsWithNoCase(text, "loc:")) text.remove_prefix(4);
  std::size_t split = text.find(',');
  if (split == std::string_view::npos) split = text.find(' ', text.find_first_not_of(' '));
  if (split == std::string_view::npos) return std::nullopt;
  const std::optional<double> latitude = Number(text.substr(0, split));
  const std::optional<double> longitude = Number(text.substr(split + 1));
  if (!latitude || !longitude) return std::nullopt;
  return Position{*latitude, *longitude};
}

// The link taken apart: the path (scheme and host included), the query's parameters
// (decoded) and the fragment (as it is).
struct LinkParts {
  std::string_view path;
  std::vector<std::pair<std::string, std::string>> query;
  std::string_view fragment;

  const std::string* Parameter(std::string_view name) const {
    for (const auto& [key, value] : query) {
      if (key == name) return &value;
    }
    return nullptr;
  }
};

LinkParts SplitLink(std::string_view link) {
  LinkParts parts;
  const std::size_t hash = link.find('#');
  if (hash != std::string_view::npos) {
    parts.fragment = link.substr(hash + 1);
    link = link.substr(0, hash);
  }
  const std::size_t question = link.find('?');
  parts.path = link.substr(0, question);
  if (question == std::string_view::npos) return parts;
  std::string_view query = link.substr(question + 1);
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view item = query.substr(0, amp);
    const std::size_t equals = item.find('=');
    if (equals != std::string_view::npos) {
      parts.query.emplace_back(PercentDecoded(item.substr(0, equals), true),
                               PercentDecoded(item.substr(equals + 1), true));
    }
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return parts;
}

// The number after `tag` ("!3d") up to the next '!' or '/' or the end.
std::optional<double> TaggedNumber(std::string_view text, std::string_view tag) {
  const std::size_t at = text.rfind(tag);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(at + tag.size());
  return Number(rest.substr(0, rest.find_first_of("!/?")));
}

std::optional<Position> PositionInPath(std::string_view path) {
  // The place's own position in the data part wins over the map's centre.
  const std::optional<double> latitude = TaggedNumber(path, "!3d");
  const std::optional<double> longitude = TaggedNumber(path, "!4d");
  if (latitude && longitude) return Position{*latitude, *longitude};
  const std::size_t at = path.find("/@");
  if (at != std::string_view::npos) {
    std::string_view rest = path.substr(at + 2);
    rest = rest.substr(0, rest.find('/'));
    // lat,lon,zoom: the pair ends at the second comma.
    const std::size_t first = rest.find(',');
    const std::size_t second = first == std::string_view::npos ? first : rest.find(',', first + 1);
    if (std::optional<Position> pair = PairOf(rest.substr(0, second))) return pair;
  }
  // A search for coordinates: .../maps/search/35.68,+139.76
  const std::size_t search = path.find("/search/");
  if (search != std::string_view::npos) {
    std::string_view rest = path.substr(search + 8);
    return PairOf(PercentDecoded(rest.substr(0, rest.find('/')), true));
  }
  return std::nullopt;
}

std::optional<Position> PositionInQuery(const LinkParts& parts) {
  for (const char* name : {"q", "query", "ll", "center", "daddr", "destination"}) {
    if (const std::string* value = parts.Parameter(name)) {
      if (std::optional<Position> pair = PairOf(*value)) return pair;
    }
  }
  for (auto [lat, lon] : {std::pair{"mlat", "mlon"}, std::pair{"lat", "lon"}, std::pair{"lat", "lng"}}) {
    const std::string* latitude = parts.Parameter(lat);
    const std::string* longitude = parts.Parameter(lon);
    if (!latitude || !longitude) continue;
    const std::optional<double> la = Number(*latitude);
    const std::optional<double> lo = Number(*longitude);
    if (la && lo) return Position{*la, *lo};
  }
  return std::nullopt;
}

// "map=17/35.68/139.76" or "17/35.68/139.76" (a trailing '/' and more allowed).
std::optional<Position> PositionInFragment(std::string_view fragment) {
  if (StartsWithNoCase(fragment, "map=")) fragment.remove_prefix(4);
  std::string_view fields[3];
  for (std::string_view& field : fields) {
    const std::size_t slash = fragment.find('/');
    field = fragment.substr(0, slash);
    fragment = slash == std::string_view::npos ? std::string_view() : fragment.substr(slash + 1);
  }
  if (!Number(fields[0])) return std::nullopt;
  const std::optional<double> latitude = Number(fields[1]);
  const std::optional<double> longitude = Number(fields[2].substr(0, fields[2].find('&')));
  if (!latitude || !longitude) return std::nullopt;
  return Position{*latitude, *longitude};
}

std::string PlaceNameInPath(std::string_view path) {
  const std::size_t at = path.find("/place/");
  if (at == std::string_view::npos) return {};
  std::string_view name = path.substr(at + 7);
  name = name.substr(0, name.find('/'));
  // A place segment that is the position itself names nothing.
  if (name.empty() || name.front() == '@') return {};
  return PercentDecoded(name, true);
}

// geo:lat,lon[,alt][;params][?q=lat,lon(name)] (RFC 5870, and the q form phones add).
std::optional<Position> PositionInGeoUri(std::string_view uri, std::string& name) {
  uri.remove_prefix(4);
  const LinkParts parts = SplitLink(uri);
  std::string_view coordinates = parts.path.substr(0, parts.path.find(';'));
  // An altitude after the pair is no part of the place.
  const std::size_t first = coordinates.find(',');
  if (first != std::string_view::npos) coordinates = coordinates.substr(0, coordinates.find(',', first + 1));
  std::optional<Position> position = PairOf(coordinates);
  if (const std::string* q = parts.Parameter("q")) {
    std::string_view query = *q;
    const std::size_t open = query.find('(');
    if (open != std::string_view::npos) {
      const std::size_t close = query.rfind(')');
      name = std::string(query.substr(open + 1, close == std::string_view::npos || close < open ? std::string_view::npos
                                                                                                : close - open - 1));
      query = query.substr(0, open);
    }
    if (std::optional<Position> pair = PairOf(query)) position = pair;
    else if (name.empty()) name = std::string(query);
  }
  // "geo:0,0?q=..." is how a phone shares a place it knows only by name or address.
  if (position && position->latitude == 0 && position->longitude == 0) return std::nullopt;
  return position;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '<')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n' ||
                           text.back() == '>')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<LinkedPlace> PlaceFromLink(std::string_view link, std::string& error) {
  error.clear();
  link = Trimmed(link);
  std::optional<Position> position;
  std::string name;
  if (StartsWithNoCase(link, "geo:")) {
    position = PositionInGeoUri(link, name);
  } else {
    const LinkParts parts = SplitLink(link);
    position = PositionInPath(parts.path);
    if (!position) position = PositionInQuery(parts);
    if (!position) position = PositionInFragment(parts.fragment);
    name = PlaceNameInPath(parts.path);
    // A link that gives the position apart names the place in q (ll=...&q=Name).
    if (name.empty() && position) {
      if (const std::string* q = parts.Parameter("q"); q && !PairOf(*q)) name = *q;
    }
  }
  if (!position) return std::nullopt;
  if (std::abs(position->latitude) > 90 || std::abs(position->longitude) > 180) {
    error = "the link's position (" + FormatDegrees(position->latitude) + ", " + FormatDegrees(position->longitude) +
            ") is outside the Earth's latitudes and longitudes";
    return std::nullopt;
  }
  if (!IsValidUtf8(name)) {
    error = "the place's name in the link is not UTF-8 text";
    return std::nullopt;
  }
  // A percent-encoded name may hold any byte; line breaks, tabs and NULs are no part of a name.
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return LinkedPlace{position->latitude, position->longitude, std::move(name)};
}
