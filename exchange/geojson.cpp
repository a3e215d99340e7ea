#include "exchange/geojson.h"

#include <cmath>

#include <nlohmann/json.hpp>

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
            ", not " + it->dump();
    return false;
  }
  value = it->get<int>();
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

ParsedWaypoints ReadGeoJson(std::string_view text) {
  ParsedWaypoints result;
  if (text.empty()) {
    result.error = "the file is empty";
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
  if (!document.is_object() || document.value("type", json()) != "FeatureCollection" ||
      !document.contains("features") || !document["features"].is_array()) {
    result.error = "not a GeoJSON FeatureCollection: the top level must be an object with "
                   "\"type\": \"FeatureCollection\" and a \"features\" array";
    return result;
  }
  int number = 0;
  for (const json& feature : document["features"]) {
    ++number;
    Waypoint p;
    p.where = "feature " + std::to_string(number);
    if (!feature.is_object()) {
      result.error = p.where + ": must be an object, not " + std::string(feature.type_name());
      return result;
    }
    auto geometry = feature.find("geometry");
    if (geometry == feature.end() || !geometry->is_object() ||
        geometry->value("type", json()) != "Point") {
      result.error = p.where + ": the geometry must be a Point";
      return result;
    }
    auto coordinates = geometry->find("coordinates");
    if (coordinates == geometry->end() || !coordinates->is_array() || coordinates->size() < 2 ||
        !(*coordinates)[0].is_number() || !(*coordinates)[1].is_number()) {
      result.error = p.where + ": the Point's coordinates must be [longitude, latitude] numbers";
      return result;
    }
    p.longitude = (*coordinates)[0].get<double>();
    p.latitude = (*coordinates)[1].get<double>();
    static const json kNoProperties = json::object();
    auto found = feature.find("properties");
    const json& properties = found == feature.end() || found->is_null() ? kNoProperties : *found;
    if (!properties.is_object()) {
      result.error = p.where + ": \"properties\" must be an object";
      return result;
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
    result.points.push_back(std::move(p));
  }
  return result;
}
