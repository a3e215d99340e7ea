#include "exchange/kml.h"

#include <initializer_list>
#include <utility>

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

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The first ExtendedData field whose name is one of `names` (in any case) and whose value is
// not blank: the columns a list of places was made from, under the names the user gave them,
// as Data (My Maps) or as a schema's SimpleData (other programs).
std::string DataValueNamed(const XmlElement& placemark, std::initializer_list<std::string_view> names) {
  const XmlElement* extended = placemark.Child("ExtendedData");
  if (!extended) return {};
  auto named = [&](const XmlElement& field, std::string_view value) {
    const std::string_view* fieldName = field.Attribute("name");
    if (!fieldName || TrimBlanks(value).empty()) return false;
    for (std::string_view name : names) {
      if (EqualsNoCase(*fieldName, name)) return true;
    }
    return false;
  };
  for (const XmlElement* field : extended->children()) {
    if (field->LocalName() == "Data" && named(*field, field->ChildText("value"))) {
      return std::string(TrimBlanks(field->ChildText("value")));
    }
    if (field->LocalName() != "SchemaData") continue;
    for (const XmlElement* simple : field->children()) {
      if (simple->LocalName() == "SimpleData" && named(*simple, simple->text)) return std::string(TrimBlanks(simple->text));
    }
  }
  return {};
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

// The tags map services put in descriptions. Only a description holding one of them is taken
// as HTML: our own descriptions are plain text, in which "<C>" is just text.
bool IsHtmlTag(std::string_view tag) {
  static constexpr std::string_view kTags[] = {"a", "b", "br", "div", "em", "font", "h1", "h2", "h3", "hr",
                                               "i", "img", "li", "ol", "p", "span", "strong", "table", "td",
                                               "th", "tr", "u", "ul"};
  std::size_t end = 0;
  if (end < tag.size() && tag[end] == '/') ++end;
  const std::size_t start = end;
  while (end < tag.size() && ((tag[end] >= 'a' && tag[end] <= 'z') || (tag[end] >= 'A' && tag[end] <= 'Z') ||
                              (tag[end] >= '0' && tag[end] <= '9'))) {
    ++end;
  }
  if (end < tag.size() && tag[end] != ' ' && tag[end] != '/' && tag[end] != '\t' && tag[end] != '\n') return false;
  for (std::string_view known : kTags) {
    if (EqualsNoCase(tag.substr(start, end - start), known)) return true;
  }
  return false;
}

// A description as a location: plain text as it is; HTML (as map services write it, often in
// a CDATA section) as its text, tags dropped, the common entities decoded and blanks
// collapsed, so that "Addr<br>Phone" reads "Addr Phone" and an image alone gives nothing.
std::string DescriptionText(std::string_view description) {
  description = TrimBlanks(description);
  bool html = false;
  for (std::size_t at = description.find('<'); at != std::string_view::npos && !html; at = description.find('<', at + 1)) {
    std::size_t close = description.find('>', at);
    html = close != std::string_view::npos && IsHtmlTag(description.substr(at + 1, close - at - 1));
  }
  if (!html) return std::string(description);
  static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}, {"&nbsp;", " "}};
  std::string text;
  bool blank = false;
  for (std::size_t i = 0; i < description.size();) {
    std::string_view piece;
    if (description[i] == '<') {
      std::size_t close = description.find('>', i);
      if (close != std::string_view::npos && IsHtmlTag(description.substr(i + 1, close - i - 1))) {
        i = close + 1;
        blank = true;
        continue;
      }
    } else if (description[i] == '&') {
      for (const auto& [entity, character] : kEntities) {
        if (description.substr(i, entity.size()) == entity) {
          piece = character;
          i += entity.size();
          break;
        }
      }
    }
    if (piece.empty()) piece = description.substr(i++, 1);
    for (char c : piece) {
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        blank = true;
        continue;
      }
      if (blank && !text.empty()) text += ' ';
      blank = false;
      text += c;
    }
  }
  return text;
}

// Elements of a Placemark that make it a line, an area or another shape rather than a point.
bool HasOtherGeometry(const XmlElement& placemark) {
  for (std::string_view shape : {"LineString", "LinearRing", "Polygon", "MultiGeometry", "Model", "Track", "MultiTrack"}) {
    if (placemark.Child(shape)) return true;
  }
  return false;
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
    // The address a list of places gives, in an address element or in the field the list's
    // address column became.
    std::string address = DataValueNamed(placemark, {"address", "住所", "所在地"});
    if (address.empty()) address = TrimBlanks(placemark.ChildText("address"));
    if (!point && (address.empty() || HasOtherGeometry(placemark))) return true;
    ++number;
    Waypoint p;
    p.where = "Placemark " + std::to_string(number) + " (line " + std::to_string(placemark.line) + ")";
    if (!point) {
      p.hasPosition = false;
    } else if (const XmlElement* coordinates = point->Child("coordinates"); !coordinates) {
      result.error = p.where + ": the Point has no coordinates";
      return false;
    } else if (!ReadCoordinates(coordinates->text, p.longitude, p.latitude)) {
      result.error = p.where + ": coordinates \"" + std::string(TrimBlanks(coordinates->text)) +
                     "\" are not longitude,latitude numbers";
      return false;
    }
    p.name = TrimBlanks(placemark.ChildText("name"));
    p.location = address.empty() ? DescriptionText(placemark.ChildText("description")) : address;
    p.phone = TrimBlanks(placemark.ChildText("phoneNumber"));
    if (p.phone.empty()) p.phone = DataValueNamed(placemark, {"phone", "tel", "telephone", "電話", "電話番号"});
    // A place given only by its address is at least called by it.
    if (!point && p.name.empty()) p.name = p.location;
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
