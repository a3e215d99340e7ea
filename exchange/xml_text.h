// Small pieces shared by the XML formats (GPX, KML).
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "exchange/waypoint.h"

// Appends `text` escaped for element content and attribute values. Characters XML 1.0 cannot
// carry at all (control characters other than tab, line feed and carriage return) become
// U+FFFD.
void AppendXmlEscaped(std::string& out, std::string_view text);

// Appends <tag>escaped text</tag> and a line break, or nothing when `text` is empty.
void AppendXmlElement(std::string& out, std::string_view indent, std::string_view tag,
                      std::string_view text);

// The element's local name, without a namespace prefix.
std::string_view LocalName(const pugi::xml_node& node);
// The first child element with the local name `name`, or an empty node.
pugi::xml_node ChildByLocalName(const pugi::xml_node& node, std::string_view name);
// The text of the first child with the local name `name` ("" when there is none).
std::string ChildText(const pugi::xml_node& node, std::string_view name);

// Parses `text` as XML. On failure returns an error that says what was wrong and where.
std::string LoadXml(pugi::xml_document& document, std::string_view text);
