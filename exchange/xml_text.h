// Small pieces shared by the XML formats (GPX, KML): writing escaped text, and reading a
// document into a tree of elements. The tree is the same on every platform; only the parser
// under it differs (pugixml on POSIX, XmlLite on Windows, which every Windows has).
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
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

// One element of a parsed document. Texts are UTF-8 and live as long as the document.
struct XmlElement {
  std::string_view name;  // as written, with any namespace prefix
  std::vector<std::pair<std::string_view, std::string_view>> attributes;  // namespace declarations too
  std::string_view text;  // the character data directly inside it (text and CDATA sections), joined
  std::size_t line = 0;
  const XmlElement* parent = nullptr;
  // The children as a list of siblings, so that a document of thousands of elements costs no
  // allocation per element beyond its own.
  const XmlElement* firstChild = nullptr;
  const XmlElement* lastChild = nullptr;
  const XmlElement* nextSibling = nullptr;

  // The children in document order, for range-for.
  class Children {
   public:
    class Iterator {
     public:
      explicit Iterator(const XmlElement* at) : m_at(at) {}
      const XmlElement* operator*() const { return m_at; }
      Iterator& operator++() {
        m_at = m_at->nextSibling;
        return *this;
      }
      bool operator==(const Iterator&) const = default;

     private:
      const XmlElement* m_at;
    };
    explicit Children(const XmlElement* first) : m_first(first) {}
    Iterator begin() const { return Iterator(m_first); }
    Iterator end() const { return Iterator(nullptr); }

   private:
    const XmlElement* m_first;
  };
  Children children() const { return Children(firstChild); }

  // The name without a namespace prefix.
  std::string_view LocalName() const;
  // The first child with the local name `name`, or null.
  const XmlElement* Child(std::string_view name) const;
  // The text of the first child with the local name `name` ("" when there is none).
  std::string_view ChildText(std::string_view name) const;
  // The value of the attribute named `name` as written, or null.
  const std::string_view* Attribute(std::string_view name) const;
};

class XmlDocument {
 public:
  // The root element; only after LoadXmlDocument succeeded.
  const XmlElement& Root() const { return m_elements.front(); }
  // For the parsers: a new element, the last child of `parent` (null for the root).
  XmlElement& AddElement(const XmlElement* parent);
  // For the parsers: `text` kept for the elements to point into.
  std::string_view Keep(std::string text) { return m_texts.emplace_back(std::move(text)); }
  // For the parsers: what the parser made, kept while elements point into it.
  void KeepParsed(std::shared_ptr<const void> parsed) { m_parsed = std::move(parsed); }

 private:
  std::deque<XmlElement> m_elements;  // in document order; a deque keeps their addresses
  std::deque<std::string> m_texts;
  std::shared_ptr<const void> m_parsed;
};

// Parses `text` as an XML document of the format `format` ("GPX"), whose root element has the
// local name `root` ("gpx"). On failure returns null and sets `error` to what was wrong and where.
const XmlElement* LoadXmlDocument(XmlDocument& document, std::string_view text, std::string_view root,
                                  const char* format, std::string& error);

// No file of points nests its elements anywhere near this deep (a KML's folders in folders
// come closest). Both parsers refuse deeper documents alike; XmlLite has the same limit by
// default, and the tree must not differ between the platforms.
inline constexpr std::size_t kMaxXmlDepth = 256;

// The message for an element nested deeper than kMaxXmlDepth, at `line`.
std::string TooDeepMessage(std::size_t line);

// The platform's parser under LoadXmlDocument, which has already refused empty text: fills
// `document` or returns what was wrong and where.
std::string ParseXmlElements(XmlDocument& document, std::string_view text);
