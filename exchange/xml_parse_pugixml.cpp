// The XML tree through pugixml, on POSIX.
#include <pugixml.hpp>

#include <memory>
#include <string>

#include "exchange/text_position.h"
#include "exchange/xml_text.h"

namespace {

// The element points into pugixml's own texts, which the document keeps.
void CopyElement(const pugi::xml_node& from, XmlElement& to, XmlDocument& document, LineCounter& lines) {
  to.name = from.name();
  to.line = lines.LineOf(static_cast<std::size_t>(from.offset_debug()));
  for (pugi::xml_attribute attribute : from.attributes()) to.attributes.emplace_back(attribute.name(), attribute.value());
  // Most elements hold one piece of text, which is pointed at; several are joined and kept.
  int pieces = 0;
  std::string joined;
  for (pugi::xml_node child = from.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata) continue;
    if (++pieces == 1) {
      to.text = child.value();
      continue;
    }
    if (pieces == 2) joined = to.text;
    joined += child.value();
  }
  if (pieces > 1) to.text = document.Keep(std::move(joined));
}

// `node` or the first element among its following siblings; empty when there is none.
pugi::xml_node FirstElement(pugi::xml_node node) {
  while (node && node.type() != pugi::node_element) node = node.next_sibling();
  return node;
}

}  // namespace

std::string ParseXmlElements(XmlDocument& document, std::string_view text) {
  // Character data sections (KML descriptions often use them) and entities are read; the
  // document type, if any, is skipped.
  auto parsed = std::make_shared<pugi::xml_document>();
  pugi::xml_parse_result result = parsed->load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
  LineCounter lines(text);
  if (!result) {
    return std::string("not well-formed XML at ") + lines.Describe(static_cast<std::size_t>(result.offset)) + ": " +
           result.description();
  }
  const pugi::xml_node root = parsed->document_element();
  if (!root) return "the file holds no XML element";
  document.KeepParsed(parsed);
  // In document order without recursion, so that deep nesting in a hostile file cannot
  // exhaust the stack.
  pugi::xml_node node = root;
  const XmlElement* parent = nullptr;
  std::size_t depth = 1;
  for (;;) {
    XmlElement& element = document.AddElement(parent);
    CopyElement(node, element, document, lines);
    if (depth > kMaxXmlDepth) return TooDeepMessage(element.line);
    const XmlElement* current = &element;
    if (pugi::xml_node child = FirstElement(node.first_child())) {
      parent = current;
      node = child;
      ++depth;
      continue;
    }
    // The next element is a following sibling of this one or of one of its ancestors.
    for (;;) {
      if (node == root) return {};
      if (pugi::xml_node sibling = FirstElement(node.next_sibling())) {
        node = sibling;
        parent = current->parent;
        break;
      }
      node = node.parent();
      current = current->parent;
      --depth;
    }
  }
}
