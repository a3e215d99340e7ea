#include "exchange/kml.h"

#include "exchange/values.h"
#include "exchange/xml_text.h"

namespace {

void AppendData(std::string& out, std::string_view name, std::string_view value) {
  if (value.empty()) return;
  out += "      <Data name=\"";
  out += name;
  out += "\"><value>";
  AppendXmlEscaped(out, value);
  out += "</value></Data>\n";
}

std::string DataValue(const XmlElement& placemark, std::string_view name) {
  const XmlElement* extended = placemark.Child("ExtendedData");
  if (!extended) return {};
  for (const XmlElement* data : extended->children()) {
    const std::string_view* dataName = data->Attribute("name");
    if (data->LocalName() == "Data" && dataName && *dataName == name) return std::string(data->ChildText("value"));
  }
  return {};
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// "lon,lat[,alt]": the first tuple of a coordinates element.
bool ReadCoordinates(std::string_view text, double& longitude, double& latitude) {
  text = TrimBlanks(text);
  std::size_t end = text.find_first_of(" \t\r\n");
  std::string_view tuple = text.substr(0, end);
  std::size_t comma = tuple.find(',');
  if (comma == std::string_view::npos) return false;
  std::string_view rest = tuple.substr(comma + 1);
  std::size_t second = rest.find(',');
  auto lon = ParseNumber(tuple.substr(0, comma));
  auto lat = ParseNumber(rest.substr(0, second));
  if (second != std::string_view::npos && !ParseNumber(rest.substr(second + 1))) return false;
  if (!lon || !lat) return false;
  longitude = *lon;
  latitude = *lat;
  return true;
}

struct KmlReader {
  ParsedWaypoints& result;
  int offsetMinutes;
  int number = 0;

  // Visits the elements in document order without recursion, so that deep nesting in a
  // hostile file cannot exhaust the stack. false when an error stopped the reading.
  bool Walk(const XmlElement& root) {
    const XmlElement* element = root.firstChild;
    while (element) {
      const XmlElement* next = nullptr;
      if (element->LocalName() == "Placemark") {
        if (!ReadPlacemark(*element)) return false;
      } else {
        next = element->firstChild;
      }
      // Else the next sibling of this element or of the nearest ancestor that has one.
      for (; !next && element != &root; element = element->parent) next = element->nextSibling;
      element = next;
    }
    return true;
  }

  bool ReadPlacemark(const XmlElement& placemark) {
    const XmlElement* point = placemark.Child("Point");
    if (!point) return true;
    ++number;
    Waypoint p;
    p.where = "Placemark " + std::to_string(number) + " (line " + std::to_string(placemark.line) + ")";
    const XmlElement* coordinates = point->Child("coordinates");
    if (!coordinates) {
      result.error = p.where + ": the Point has no coordinates";
      return false;
    }
    if (!ReadCoordinates(coordinates->text, p.longitude, p.latitude)) {
      result.error = p.where + ": coordinates \"" + std::string(TrimBlanks(coordinates->text)) +
                     "\" are not longitude,latitude numbers";
      return false;
    }
    p.name = TrimBlanks(placemark.ChildText("name"));
    p.location = TrimBlanks(placemark.ChildText("description"));
    p.phone = TrimBlanks(placemark.ChildText("phoneNumber"));
    p.nickname = DataValue(placemark, "nickname");
    const XmlElement* stamp = placemark.Child("TimeStamp");
    if (const XmlElement* when = stamp ? stamp->Child("when") : nullptr) {
      p.stamp = ParseIsoTime(when->text, offsetMinutes);
      if (!p.stamp) ++result.ignoredTimes;
    }
    if (!ReadCode(DataValue(placemark, "icon"), "icon", 255, p.where, p.icon)) return false;
    if (!ReadCode(DataValue(placemark, "voice"), "voice", 31, p.where, p.voice)) return false;
    result.points.push_back(std::move(p));
    return true;
  }

  bool ReadCode(const std::string& text, const char* what, int max, const std::string& where,
                std::optional<int>& value) {
    if (text.empty()) return true;
    auto number = ParseInteger(text);
    if (!number || *number < 0 || *number > max) {
      result.error = where + ": " + what + " \"" + text + "\" is not a number 0-" + std::to_string(max);
      return false;
    }
    value = static_cast<int>(*number);
    return true;
  }
};

}  // namespace

std::string WriteKml(const std::vector<Waypoint>& points, int offsetMinutes) {
  std::string out;
  out.reserve(256 + points.size() * 500);
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
      "<Document>\n";
  for (const Waypoint& p : points) {
    // The child elements keep the order the KML schema prescribes.
    out += "  <Placemark>\n";
    AppendXmlElement(out, "    ", "name", p.name);
    AppendXmlElement(out, "    ", "phoneNumber", p.phone);
    AppendXmlElement(out, "    ", "description", p.location);
    if (p.stamp && IsRealStamp(*p.stamp)) {
      out += "    <TimeStamp><when>" + FormatIsoTime(*p.stamp, offsetMinutes) + "</when></TimeStamp>\n";
    }
    out += "    <ExtendedData>\n";
    AppendData(out, "nickname", p.nickname);
    if (p.icon) AppendData(out, "icon", std::to_string(*p.icon));
    if (p.voice) AppendData(out, "voice", std::to_string(*p.voice));
    out += "    </ExtendedData>\n";
    out += "    <Point><coordinates>" + FormatDegrees(p.longitude) + "," + FormatDegrees(p.latitude) +
           "</coordinates></Point>\n";
    out += "  </Placemark>\n";
  }
  out += "</Document>\n</kml>\n";
  return out;
}

ParsedWaypoints ReadKml(std::string_view text, int offsetMinutes) {
  ParsedWaypoints result;
  XmlDocument document;
  const XmlElement* root = LoadXmlDocument(document, text, "kml", "KML", result.error);
  if (!root) return result;
  KmlReader reader{result, offsetMinutes};
  reader.Walk(*root);
  return result;
}
