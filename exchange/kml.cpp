#include "exchange/kml.h"

#include <pugixml.hpp>

#include "exchange/text_position.h"
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

std::string DataValue(const pugi::xml_node& placemark, std::string_view name) {
  pugi::xml_node extended = ChildByLocalName(placemark, "ExtendedData");
  for (pugi::xml_node data = extended.first_child(); data; data = data.next_sibling()) {
    if (LocalName(data) == "Data" && name == data.attribute("name").value()) {
      return ChildText(data, "value");
    }
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
  LineCounter lines;
  int offsetMinutes;
  int number = 0;

  // Visits the elements in document order without recursion, so that deep nesting in a
  // hostile file cannot exhaust the stack. false when an error stopped the reading.
  bool Walk(const pugi::xml_node& root) {
    pugi::xml_node node = root.first_child();
    while (node) {
      bool descend = false;
      if (node.type() == pugi::node_element) {
        if (LocalName(node) == "Placemark") {
          if (!ReadPlacemark(node)) return false;
        } else {
          descend = static_cast<bool>(node.first_child());
        }
      }
      if (descend) {
        node = node.first_child();
        continue;
      }
      while (node && !node.next_sibling() && node != root) node = node.parent();
      if (!node || node == root) break;
      node = node.next_sibling();
    }
    return true;
  }

  bool ReadPlacemark(const pugi::xml_node& placemark) {
    pugi::xml_node point = ChildByLocalName(placemark, "Point");
    if (!point) return true;
    ++number;
    Waypoint p;
    p.where = "Placemark " + std::to_string(number) + " (line " +
              std::to_string(lines.LineOf(static_cast<std::size_t>(placemark.offset_debug()))) + ")";
    pugi::xml_node coordinates = ChildByLocalName(point, "coordinates");
    if (!coordinates) {
      result.error = p.where + ": the Point has no coordinates";
      return false;
    }
    if (!ReadCoordinates(coordinates.child_value(), p.longitude, p.latitude)) {
      result.error = p.where + ": coordinates \"" + std::string(TrimBlanks(coordinates.child_value())) +
                     "\" are not longitude,latitude numbers";
      return false;
    }
    p.name = TrimBlanks(ChildText(placemark, "name"));
    p.location = TrimBlanks(ChildText(placemark, "description"));
    p.phone = TrimBlanks(ChildText(placemark, "phoneNumber"));
    p.nickname = DataValue(placemark, "nickname");
    if (pugi::xml_node when = ChildByLocalName(ChildByLocalName(placemark, "TimeStamp"), "when")) {
      p.stamp = ParseIsoTime(when.child_value(), offsetMinutes);
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
  pugi::xml_document document;
  result.error = LoadXml(document, text);
  if (!result.ok()) return result;
  pugi::xml_node root = document.document_element();
  if (LocalName(root) != "kml") {
    result.error = std::string("not a KML file: the root element is <") + root.name() + ">";
    return result;
  }
  KmlReader reader{result, LineCounter(text), offsetMinutes};
  reader.Walk(root);
  return result;
}
