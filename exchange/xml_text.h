// Small pieces shared by the XML formats (GPX, KML): writing escaped text, and reading a
// document into a tree of elements. The tree is the same on every platform; only the parser
// under it differs (pugixml on POSIX, XmlLite on Windows, which every Windows has).
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Appends `text` escaped for element content and attribute values. Characters XML 1.0 cannot
// carry at all (control characters other than tab, line feed and carriage return) become
// U+FFFD.
void AppendXmlEscaped(std::string& out, std::string_view text);

// Appends <tag>escaped text</tag> and a line break, or nothing when `text` is empty.
void AppendXmlElement(std::string& out, std::string_view indent, std::string_view tag,
                      std::string_view text);

// One element of a parsed document. Texts are UTF-8.
struct XmlElement {
  std::string name;  // as written, with any namespace prefix
  std::vector<std::pair<std::string, std::string>> attributes;  // namespace declarations too
  std::string text;  // the character data directly inside it (text and CDATA sections), joined
  std::size_t line = 0;
  const XmlElement* parent = nullptr;
  std::vector<const XmlElement*> children;

  // The name without a namespace prefix.
  std::string_view LocalName() const;
  // The first child with the local name `name`, or null.
  const XmlElement* Child(std::string_view name) const;
  // The text of the first child with the local name `name` ("" when there is none).
  std::string_view ChildText(std::string_view name) const;
  // The value of the attribute named `name` as written, or null.
  const std::string* Attribute(std::string_view name) const;
};

class XmlDocument {
 public:
  // The root element; only after LoadXmlDocument succeeded.
  const XmlElement& Root() const { return m_elements.front(); }
  // For the parsers: a new element, the last child of `parent` (null for the root).
  XmlElement& AddElement(const XmlElement* parent);

 private:
  std::deque<XmlElement> m_elements;  // in document order; a deque keeps their addresses
};

// Parses `text` as an XML document of the format `format` ("GPX"), whose root element has the
// local name `root` ("gpx"). On failure returns null and sets `error` to what was wrong and where.
const XmlElement* LoadXmlDocument(XmlDocument& document, std::string_view text, std::string_view root,
                                  const char* format, std::string& error);

// The platform's parser under LoadXmlDocument, which has already refused empty text: fills
// `document` or returns what was wrong and where.
std::string ParseXmlElements(XmlDocument& document, std::string_view text);
