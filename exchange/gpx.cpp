#include "exchange/gpx.h"

#include <optional>

#include "exchange/values.h"
#include "exchange/xml_text.h"

std::string WriteGpx(const std::vector<Waypoint>& points, int offsetMinutes) {
  std::string out;
  out.reserve(512 + points.size() * 400);
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"Ostrel pnt\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:ostrel=\"";
  out += kGpxExtensionNamespace;
  out +=
      "\" xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
      "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
  for (const Waypoint& p : points) {
    // The child elements keep the order the GPX schema prescribes.
    out += "  <wpt lat=\"" + FormatDegrees(p.latitude) + "\" lon=\"" + FormatDegrees(p.longitude) + "\">\n";
    if (p.stamp && IsRealStamp(*p.stamp)) {
      AppendXmlElement(out, "    ", "time", FormatIsoTime(*p.stamp, offsetMinutes));
    }
    AppendXmlElement(out, "    ", "name", p.name);
    AppendXmlElement(out, "    ", "cmt", p.nickname);
    AppendXmlElement(out, "    ", "desc", p.location);
    if (p.icon) AppendXmlElement(out, "    ", "sym", std::to_string(*p.icon));
    if (!p.phone.empty() || p.voice) {
      out += "    <extensions>\n";
      AppendXmlElement(out, "      ", "ostrel:phone", p.phone);
      if (p.voice) AppendXmlElement(out, "      ", "ostrel:voice", std::to_string(*p.voice));
      out += "    </extensions>\n";
    }
    out += "  </wpt>\n";
  }
  out += "</gpx>\n";
  return out;
}

namespace {

// Phone and voice from the wpt's extensions: elements of our namespace, whatever prefix the
// file gives it.
struct OurExtensions {
  std::string phone, voice;
};

bool InOurNamespace(const XmlElement& element) {
  std::string_view qualified = element.name;
  std::size_t colon = qualified.find(':');
  std::string attribute =
      colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(qualified.substr(0, colon));
  for (const XmlElement* scope = &element; scope; scope = scope->parent) {
    if (const std::string_view* declared = scope->Attribute(attribute)) return *declared == kGpxExtensionNamespace;
  }
  return false;
}

OurExtensions ReadExtensions(const XmlElement& extensions) {
  OurExtensions found;
  for (const XmlElement* child : extensions.children()) {
    std::string_view name = child->LocalName();
    std::string* target = name == "phone" ? &found.phone : name == "voice" ? &found.voice : nullptr;
    if (target && InOurNamespace(*child)) *target = child->text;
  }
  return found;
}

// A wpt or rtept (they share their content) as a point; false with the error set when it
// cannot be read.
bool ReadPoint(const XmlElement& element, int offsetMinutes, Waypoint& p, ParsedWaypoints& result) {
  const std::string_view* lat = element.Attribute("lat");
  const std::string_view* lon = element.Attribute("lon");
  if (!lat || !lon) {
    result.error = p.where + ": the lat or lon attribute is missing";
    return false;
  }
  auto latitude = ParseNumber(*lat);
  auto longitude = ParseNumber(*lon);
  if (!latitude || !longitude) {
    result.error = p.where + ": lat=\"" + std::string(*lat) + "\" lon=\"" + std::string(*lon) +
                   "\" is not a pair of numbers";
    return false;
  }
  p.latitude = *latitude;
  p.longitude = *longitude;
  // One pass over the children: this loop runs for every point of an import.
  std::optional<long long> icon;
  OurExtensions extensions;
  for (const XmlElement* child : element.children()) {
    std::string_view name = child->LocalName();
    if (name == "name") {
      p.name = child->text;
    } else if (name == "cmt") {
      p.nickname = child->text;
    } else if (name == "desc") {
      p.location = child->text;
    } else if (name == "sym") {
      icon = ParseInteger(child->text);
    } else if (name == "time") {
      p.stamp = ParseIsoTime(child->text, offsetMinutes);
      if (!p.stamp) ++result.ignoredTimes;
    } else if (name == "extensions") {
      extensions = ReadExtensions(*child);
    }
  }
  // sym is a symbol name in GPX; only our own files put an icon number there.
  if (icon && *icon >= 0 && *icon <= 255) p.icon = static_cast<int>(*icon);
  p.phone = std::move(extensions.phone);
  const std::string& voice = extensions.voice;
  if (!voice.empty()) {
    auto code = ParseInteger(voice);
    if (!code || *code < 0 || *code > 31) {
      result.error = p.where + ": voice \"" + voice + "\" is not a voice code 0-31";
      return false;
    }
    p.voice = static_cast<int>(*code);
  }
  return true;
}

std::string WhereInFile(const char* what, int number, const XmlElement& element) {
  return std::string(what) + " " + std::to_string(number) + " (line " + std::to_string(element.line) + ")";
}

}  // namespace

ParsedWaypoints ReadGpx(std::string_view text, int offsetMinutes) {
  ParsedWaypoints result;
  XmlDocument document;
  const XmlElement* root = LoadXmlDocument(document, text, "gpx", "GPX", result.error);
  if (!root) return result;
  int number = 0;
  bool hasTracks = false;
  for (const XmlElement* wpt : root->children()) {
    hasTracks = hasTracks || wpt->LocalName() == "trk";
    if (wpt->LocalName() != "wpt") continue;
    Waypoint p;
    p.where = WhereInFile("wpt", ++number, *wpt);
    if (!ReadPoint(*wpt, offsetMinutes, p, result)) return result;
    result.points.push_back(std::move(p));
  }
  if (number > 0) return result;
  // No waypoints: a planned route's points are places the user chose, so they are offered
  // instead, named as the file names them or else after their route.
  int routeNumber = 0;
  for (const XmlElement* rte : root->children()) {
    if (rte->LocalName() != "rte") continue;
    ++routeNumber;
    std::string routeName(rte->ChildText("name"));
    if (routeName.empty()) routeName = "Route " + std::to_string(routeNumber);
    int pointNumber = 0;
    for (const XmlElement* rtept : rte->children()) {
      if (rtept->LocalName() != "rtept") continue;
      Waypoint p;
      p.where = WhereInFile("rtept", ++number, *rtept);
      ++pointNumber;
      if (!ReadPoint(*rtept, offsetMinutes, p, result)) return result;
      if (p.name.empty()) p.name = routeName + " " + std::to_string(pointNumber);
      result.points.push_back(std::move(p));
    }
  }
  if (number == 0 && hasTracks) {
    result.error = "the file holds only tracks, which are not points: a track is a recorded path of many "
                   "positions. Export the places as waypoints, or as a route, and import that file";
  }
  return result;
}
