#include "exchange/geojson.h"

#include <cmath>
#include <optional>
#include <utility>

#include <nlohmann/json.hpp>

#include "exchange/map_link.h"
#include "exchange/text_position.h"
#include "exchange/values.h"

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

// Eight decimals, as the other formats write them; the JSON writer then prints the shortest
// text that reads back to that value.
// Values far outside the globe (which the import refuses later) are left as they are, so that
// the scaling cannot overflow.
double RoundDegrees(double degrees) {
  return std::fabs(degrees) < 1e9 ? std::round(degrees * 1e8) / 1e8 : degrees;
}

// A string property, or an error naming it when it has another type.
bool StringProperty(const json& properties, const char* key, const std::string& where,
                    std::string& value, std::string& error) {
  auto it = properties.find(key);
  if (it == properties.end() || it->is_null()) return true;
  if (!it->is_string()) {
    error = where + ": property \"" + key + "\" must be a string, not " + it->type_name();
    return false;
  }
  value = it->get<std::string>();
  return true;
}

bool CodeProperty(const json& properties, const char* key, int max, const std::string& where,
                  std::optional<int>& value, std::string& error) {
  auto it = properties.find(key);
  if (it == properties.end() || it->is_null()) return true;
  if (!it->is_number_integer() || it->get<long long>() < 0 || it->get<long long>() > max) {
    error = where + ": property \"" + key + "\" must be a whole number 0-" + std::to_string(max) +
            ", not " + (it->is_structured() ? std::string(it->type_name()) : it->dump());
    return false;
  }
  value = it->get<int>();
  return true;
}

// No GeoJSON, ours or a map service's, nests deeper than a few levels (a MultiPolygon's
// coordinates are the deepest, at seven). The limit is checked before parsing, so that a
// hostile file of millions of brackets neither fills the memory with the tree nor reaches
// the library's recursive copying and printing; the offset of the first bracket too deep,
// or npos.
constexpr int kMaxJsonDepth = 100;

std::size_t FindTooDeep(std::string_view text) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonDepth) return i;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return std::string_view::npos;
}

// The member `key` of `object` when it is an object, else null.
const json* ObjectMember(const json& object, const char* key) {
  auto it = object.find(key);
  return it != object.end() && it->is_object() ? &*it : nullptr;
}

// A number that may be written as a string too, as the older saved-places export does.
std::optional<double> NumberMember(const json& object, const char* key) {
  auto it = object.find(key);
  if (it == object.end()) return std::nullopt;
  if (it->is_number()) return it->get<double>();
  if (it->is_string()) return ParseNumber(it->get_ref<const std::string&>());
  return std::nullopt;
}

// A map service's saved-places export: each feature's properties hold the place's title,
// address and URL, in the older layout ("Title", "Location": {"Address", "Business Name",
// "Geo Coordinates"}, "Google Maps URL", "Published") or the newer one ("location":
// {"name", "address"}, "google_maps_url", "date"). Our own files have "location" as a
// string, so an object there, or any of the other keys, tells the layouts apart.
bool IsSavedPlace(const json& properties) {
  return properties.contains("Title") || properties.contains("Google Maps URL") ||
         properties.contains("google_maps_url") || ObjectMember(properties, "Location") ||
         ObjectMember(properties, "location");
}

// The place a saved-places feature names. `position` is the geometry's, when it has one
// other than 0,0 (which the export writes for a place it knows no position of); else the
// place's own coordinates or its URL give it where they can.
bool ReadSavedPlace(const json& properties, std::optional<std::pair<double, double>> position,
                    int offsetMinutes, Waypoint& p, ParsedWaypoints& result) {
  const json* older = ObjectMember(properties, "Location");
  const json* newer = ObjectMember(properties, "location");
  std::string title, businessName, placeName, url, published, updated;
  if (!StringProperty(properties, "Title", p.where, title, result.error) ||
      !StringProperty(properties, "Google Maps URL", p.where, url, result.error) ||
      (url.empty() && !StringProperty(properties, "google_maps_url", p.where, url, result.error)) ||
      !StringProperty(properties, "Published", p.where, published, result.error) ||
      !StringProperty(properties, "Updated", p.where, updated, result.error) ||
      (published.empty() && !StringProperty(properties, "date", p.where, published, result.error))) {
    return false;
  }
  if (older && (!StringProperty(*older, "Business Name", p.where, businessName, result.error) ||
                !StringProperty(*older, "Address", p.where, p.location, result.error))) {
    return false;
  }
  if (newer && (!StringProperty(*newer, "name", p.where, placeName, result.error) ||
                (p.location.empty() && !StringProperty(*newer, "address", p.where, p.location, result.error)))) {
    return false;
  }
  // The title is what the user saw in the list; a business's name or the place's name
  // stands in where there is none.
  for (const std::string* name : {&title, &businessName, &placeName}) {
    if (p.name.empty()) p.name = *name;
  }
  if (!position && older) {
    if (const json* coordinates = ObjectMember(*older, "Geo Coordinates")) {
      auto latitude = NumberMember(*coordinates, "Latitude");
      auto longitude = NumberMember(*coordinates, "Longitude");
      if (latitude && longitude && (*latitude != 0 || *longitude != 0)) position.emplace(*longitude, *latitude);
    }
  }
  if (!url.empty()) {
    // A link that is broken or carries no position leaves the place without one, which the
    // import shows; the URL is no reason to refuse the whole file.
    std::string linkError;
    if (std::optional<LinkedPlace> linked = PlaceFromLink(url, linkError)) {
      if (!position) position.emplace(linked->longitude, linked->latitude);
      if (p.name.empty()) p.name = linked->name;
    }
  }
  if (p.name.empty()) p.name = p.location;
  if (position) {
    p.longitude = position->first;
    p.latitude = position->second;
  } else {
    p.hasPosition = false;
  }
  const std::string& when = published.empty() ? updated : published;
  if (!when.empty()) {
    p.stamp = ParseIsoTime(when, offsetMinutes);
    if (!p.stamp) ++result.ignoredTimes;
  }
  return true;
}

}  // namespace

std::string WriteGeoJson(const std::vector<Waypoint>& points) {
  ordered_json features = ordered_json::array();
  for (const Waypoint& p : points) {
    ordered_json properties = {{"name", p.name}, {"location", p.location}, {"nickname", p.nickname},
                       {"phone", p.phone}};
    if (p.icon) properties["icon"] = *p.icon;
    if (p.voice) properties["voice"] = *p.voice;
    if (p.stamp) {
      properties["date"] = FormatStampDate(*p.stamp);
      properties["time"] = FormatStampTime(*p.stamp);
    }
    features.push_back({{"type", "Feature"},
                        {"geometry", {{"type", "Point"},
                                      {"coordinates", {RoundDegrees(p.longitude), RoundDegrees(p.latitude)}}}},
                        {"properties", std::move(properties)}});
  }
  ordered_json collection = {{"type", "FeatureCollection"}, {"features", std::move(features)}};
  // Invalid UTF-8 cannot reach here (texts come from the code page converter), but replace
  // rather than throw should it ever.
  return collection.dump(1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

ParsedWaypoints ReadGeoJson(std::string_view text, int offsetMinutes) {
  ParsedWaypoints result;
  if (text.empty()) {
    result.error = "the file is empty";
    return result;
  }
  if (std::size_t deep = FindTooDeep(text); deep != std::string_view::npos) {
    LineCounter lines(text);
    result.error = "nested more than " + std::to_string(kMaxJsonDepth) + " deep at " + lines.Describe(deep) +
                   ", which no GeoJSON is; it was not read";
    return result;
  }
  json document;
  try {
    document = json::parse(text.begin(), text.end());
  } catch (const json::parse_error& e) {
    LineCounter lines(text);
    std::size_t offset = e.byte > 0 ? e.byte - 1 : 0;
    std::string what = e.what();
    // The library's text starts with its own error id; keep the explanation after it.
    if (std::size_t colon = what.find("parse error"); colon != std::string::npos) what = what.substr(colon);
    result.error = "not valid JSON at " + lines.Describe(offset) + ": " + what;
    return result;
  } catch (const json::exception& e) {
    // Parsed, but not representable: a number beyond the range of a double, for one.
    std::string what = e.what();
    if (std::size_t bracket = what.find("] "); bracket != std::string::npos) what = what.substr(bracket + 2);
    result.error = "not valid JSON: " + what;
    return result;
  }
  auto type = document.is_object() ? document.find("type") : document.end();
  auto features = document.is_object() ? document.find("features") : document.end();
  if (type == document.end() || *type != "FeatureCollection" || features == document.end() || !features->is_array()) {
    result.error = "not a GeoJSON FeatureCollection: the top level must be an object with "
                   "\"type\": \"FeatureCollection\" and a \"features\" array";
    return result;
  }
  int number = 0;
  for (const json& feature : *features) {
    ++number;
    Waypoint p;
    p.where = "feature " + std::to_string(number);
    if (!feature.is_object()) {
      result.error = p.where + ": must be an object, not " + std::string(feature.type_name());
      return result;
    }
    // A feature without a geometry may still name a place; lines and areas are not points
    // and are passed over, as KML's are.
    std::optional<std::pair<double, double>> position;
    auto geometry = feature.find("geometry");
    if (geometry != feature.end() && !geometry->is_null()) {
      auto kind = geometry->is_object() ? geometry->find("type") : geometry->end();
      if (kind == geometry->end() || !kind->is_string()) {
        result.error = p.where + ": the geometry must be an object with a \"type\"";
        return result;
      }
      if (*kind != "Point") continue;
      auto coordinates = geometry->find("coordinates");
      if (coordinates == geometry->end() || !coordinates->is_array() || coordinates->size() < 2 ||
          !(*coordinates)[0].is_number() || !(*coordinates)[1].is_number()) {
        result.error = p.where + ": the Point's coordinates must be [longitude, latitude] numbers";
        return result;
      }
      position.emplace((*coordinates)[0].get<double>(), (*coordinates)[1].get<double>());
    }
    static const json kNoProperties = json::object();
    auto found = feature.find("properties");
    const json& properties = found == feature.end() || found->is_null() ? kNoProperties : *found;
    if (!properties.is_object()) {
      result.error = p.where + ": \"properties\" must be an object";
      return result;
    }
    if (IsSavedPlace(properties)) {
      if (position && position->first == 0 && position->second == 0) position.reset();
      if (!ReadSavedPlace(properties, position, offsetMinutes, p, result)) return result;
      if (p.hasPosition || !p.name.empty()) result.points.push_back(std::move(p));
      continue;
    }
    std::string date, time;
    if (!StringProperty(properties, "name", p.where, p.name, result.error) ||
        !StringProperty(properties, "location", p.where, p.location, result.error) ||
        !StringProperty(properties, "nickname", p.where, p.nickname, result.error) ||
        !StringProperty(properties, "phone", p.where, p.phone, result.error) ||
        !StringProperty(properties, "date", p.where, date, result.error) ||
        !StringProperty(properties, "time", p.where, time, result.error) ||
        !CodeProperty(properties, "icon", 255, p.where, p.icon, result.error) ||
        !CodeProperty(properties, "voice", 31, p.where, p.voice, result.error)) {
      return result;
    }
    if (!ReadStampColumns(date, time, p.where, p.stamp, result.error)) return result;
    if (position) {
      p.longitude = position->first;
      p.latitude = position->second;
    } else if (p.name.empty()) {
      continue;  // nothing to place and nothing to show
    } else {
      p.hasPosition = false;
    }
    result.points.push_back(std::move(p));
  }
  return result;
}
