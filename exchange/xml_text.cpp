#include "exchange/xml_text.h"

#include <array>

#include "exchange/text_position.h"

namespace {

// The bytes that cannot stand for themselves in element content or attribute values.
constexpr auto kNeedsEscape = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 0x20; ++c) table[c] = c != '\t' && c != '\n' && c != '\r';
  for (unsigned char c : {'&', '<', '>', '"'}) table[c] = true;
  return table;
}();

// Where the text holds a character reference to NUL ("&#0;", "&#x00;"), which XML does not
// allow and the parser would take as the end of the text; npos when it holds none.
std::size_t FindNulReference(std::string_view text) {
  for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2)) {
    std::size_t pos = at + 2;
    if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) ++pos;
    const std::size_t digits = pos;
    while (pos < text.size() && text[pos] == '0') ++pos;
    if (pos > digits && pos < text.size() && text[pos] == ';') return at;
  }
  return std::string_view::npos;
}

}  // namespace

void AppendXmlEscaped(std::string& out, std::string_view text) {
  // Copies runs of ordinary characters whole; only the few special ones go one by one.
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!kNeedsEscape[c]) continue;
    out.append(text.data() + run, i - run);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += "\xEF\xBF\xBD";  // a control character XML 1.0 cannot carry at all
    }
    run = i + 1;
  }
  out.append(text.data() + run, text.size() - run);
}

void AppendXmlElement(std::string& out, std::string_view indent, std::string_view tag,
                      std::string_view text) {
  if (text.empty()) return;
  out += indent;
  out += '<';
  out += tag;
  out += '>';
  AppendXmlEscaped(out, text);
  out += "</";
  out += tag;
  out += ">\n";
}

std::string_view XmlElement::LocalName() const {
  std::string_view local = name;
  std::size_t colon = local.find(':');
  return colon == std::string_view::npos ? local : local.substr(colon + 1);
}

const XmlElement* XmlElement::Child(std::string_view localName) const {
  for (const XmlElement* child : children()) {
    if (child->LocalName() == localName) return child;
  }
  return nullptr;
}

std::string_view XmlElement::ChildText(std::string_view localName) const {
  const XmlElement* child = Child(localName);
  return child ? std::string_view(child->text) : std::string_view();
}

const std::string_view* XmlElement::Attribute(std::string_view attributeName) const {
  for (const auto& [key, value] : attributes) {
    if (key == attributeName) return &value;
  }
  return nullptr;
}

XmlElement& XmlDocument::AddElement(const XmlElement* parent) {
  XmlElement& element = m_elements.emplace_back();
  element.parent = parent;
  if (!parent) return element;
  // Every element is the document's own, so its parent and siblings may be changed here.
  auto* owner = const_cast<XmlElement*>(parent);
  if (owner->lastChild) const_cast<XmlElement*>(owner->lastChild)->nextSibling = &element;
  else owner->firstChild = &element;
  owner->lastChild = &element;
  return element;
}

std::string TooDeepMessage(std::size_t line) {
  return "elements nested more than " + std::to_string(kMaxXmlDepth) + " deep at line " + std::to_string(line) +
         ", which no file of points needs; it was not read";
}

const XmlElement* LoadXmlDocument(XmlDocument& document, std::string_view text, std::string_view root,
                                  const char* format, std::string& error) {
  if (text.empty()) {
    error = "the file is empty";
    return nullptr;
  }
  if (std::size_t nul = FindNulReference(text); nul != std::string_view::npos) {
    LineCounter lines(text);
    error = "not well-formed XML at " + lines.Describe(nul) + ": a character reference to NUL, which XML does not allow";
    return nullptr;
  }
  error = ParseXmlElements(document, text);
  if (!error.empty()) return nullptr;
  if (document.Root().LocalName() != root) {
    error = std::string("not a ") + format + " file: the root element is <" + std::string(document.Root().name) + ">";
    return nullptr;
  }
  return &document.Root();
}
