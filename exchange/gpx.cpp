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

}  // namespace

ParsedWaypoints ReadGpx(std::string_view text, int offsetMinutes) {
  ParsedWaypoints result;
  XmlDocument document;
  const XmlElement* root = LoadXmlDocument(document, text, "gpx", "GPX", result.error);
  if (!root) return result;
  int number = 0;
  for (const XmlElement* wpt : root->children()) {
    if (wpt->LocalName() != "wpt") continue;
    ++number;
    Waypoint p;
    p.where = "wpt " + std::to_string(number) + " (line " + std::to_string(wpt->line) + ")";
    const std::string_view* lat = wpt->Attribute("lat");
    const std::string_view* lon = wpt->Attribute("lon");
    if (!lat || !lon) {
      result.error = p.where + ": the lat or lon attribute is missing";
      return result;
    }
    auto latitude = ParseNumber(*lat);
    auto longitude = ParseNumber(*lon);
    if (!latitude || !longitude) {
      result.error = p.where + ": lat=\"" + std::string(*lat) + "\" lon=\"" + std::string(*lon) +
                     "\" is not a pair of numbers";
      return result;
    }
    p.latitude = *latitude;
    p.longitude = *longitude;
    // One pass over the children: this loop runs for every point of an import.
    std::optional<long long> icon;
    OurExtensions extensions;
    for (const XmlElement* child : wpt->children()) {
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
        return result;
      }
      p.voice = static_cast<int>(*code);
    }
    result.points.push_back(std::move(p));
  }
  return result;
}
