// The XML tree through XmlLite, on Windows: the reader every Windows has, so the programs
// carry no XML library of their own. XmlLite reads the encoding from the byte order mark or
// the declaration as pugixml does; unlike pugixml it refuses a document type declaration
// (which our formats never have) rather than skipping it.
#include <windows.h>
#include <xmllite.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "exchange/xml_text.h"

namespace {

// Owns one COM interface pointer.
template <typename T>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() {
    if (m_pointer) m_pointer->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  T* operator->() const { return m_pointer; }
  T* get() const { return m_pointer; }
  T** out() { return &m_pointer; }

 private:
  T* m_pointer = nullptr;
};

void AppendUtf8(std::string& out, const WCHAR* text, UINT length) {
  if (length == 0) return;
  // Lone surrogates become U+FFFD, as pugixml does with broken input.
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(bytes));
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data() + at, bytes, nullptr, nullptr);
}

std::string QualifiedName(IXmlReader* reader) {
  const WCHAR* name = nullptr;
  UINT length = 0;
  std::string text;
  if (SUCCEEDED(reader->GetQualifiedName(&name, &length))) AppendUtf8(text, name, length);
  return text;
}


void AppendValue(IXmlReader* reader, std::string& out) {
  const WCHAR* value = nullptr;
  UINT length = 0;
  if (SUCCEEDED(reader->GetValue(&value, &length))) AppendUtf8(out, value, length);
}

std::string Value(IXmlReader* reader) {
  std::string text;
  AppendValue(reader, text);
  return text;
}

// XmlLite's failures carry only a code; the common ones in words.
const char* Explain(HRESULT result) {
  const auto code = static_cast<unsigned long>(result);
  static constexpr struct {
    unsigned long code;
    const char* text;
  } kTexts[] = {
      {MX_E_INPUTEND, "the text ends before the document does"},
      {MX_E_ENCODING, "the encoding cannot be read"},
      {WC_E_ELEMENTMATCH, "an end tag does not match its start tag"},
      {WC_E_SYNTAX, "a syntax error"},
      {WC_E_NAMECHARACTER, "a character that cannot stand in a name"},
      {WC_E_XMLCHARACTER, "a character XML does not allow"},
      {WC_E_ROOTELEMENT, "no single root element"},
      {WC_E_DTDPROHIBITED, "a document type declaration, which is not read"},
      {WC_E_UNDECLAREDENTITY, "an entity that is not declared"},
      {NC_E_UNDECLAREDPREFIX, "a namespace prefix that is not declared"},
      {SC_E_MAXELEMENTDEPTH, "elements nested deeper than the reader allows"},
  };
  for (const auto& entry : kTexts) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

std::string DescribeFailure(IXmlReader* reader, HRESULT code) {
  UINT line = 0, column = 0;
  reader->GetLineNumber(&line);
  reader->GetLinePosition(&column);
  std::string text = "not well-formed XML at line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
  if (const char* explained = Explain(code)) return text + explained;
  char number[16];
  std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(code));
  return text + "error " + number;
}

}  // namespace

std::string ParseXmlElements(XmlDocument& document, std::string_view text) {
  if (text.size() > INT_MAX) return "the file is too large to be read as XML";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size());
  if (!memory) return "not enough memory to read the XML";
  std::memcpy(GlobalLock(memory), text.data(), text.size());
  GlobalUnlock(memory);
  ComPointer<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.out()))) {
    GlobalFree(memory);
    return "not enough memory to read the XML";
  }
  ULARGE_INTEGER size;
  size.QuadPart = text.size();
  stream->SetSize(size);  // the stream would otherwise take the allocation's rounded-up size
  ComPointer<IXmlReader> reader;
  if (FAILED(CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.out()), nullptr)) ||
      FAILED(reader->SetInput(stream.get()))) {
    return "the system's XML reader (XmlLite) cannot be started";
  }
  // Beyond our own limit (however the reader counts its levels), so that the message for a
  // document too deep is ours, as on the other platforms.
  reader->SetProperty(XmlReaderProperty_MaxElementDepth, static_cast<LONG_PTR>(2 * kMaxXmlDepth));
  // Elements are added as they open; `open` holds those not yet closed, innermost last, with
  // the text gathered inside them so far.
  std::vector<std::pair<XmlElement*, std::string>> open;
  bool rooted = false;
  XmlNodeType type;
  HRESULT result;
  while ((result = reader->Read(&type)) == S_OK) {
    if (type == XmlNodeType_Element) {
      XmlElement& element = document.AddElement(open.empty() ? nullptr : open.back().first);
      rooted = true;
      element.name = document.Keep(QualifiedName(reader.get()));
      UINT line = 0;
      reader->GetLineNumber(&line);
      element.line = line;
      if (open.size() >= kMaxXmlDepth) return TooDeepMessage(line);
      const bool empty = reader->IsEmptyElement();
      for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK; more = reader->MoveToNextAttribute()) {
        element.attributes.emplace_back(document.Keep(QualifiedName(reader.get())), document.Keep(Value(reader.get())));
      }
      if (!empty) open.emplace_back(&element, std::string());
    } else if (type == XmlNodeType_EndElement) {
      if (!open.empty()) {
        if (!open.back().second.empty()) open.back().first->text = document.Keep(std::move(open.back().second));
        open.pop_back();
      }
    } else if ((type == XmlNodeType_Text || type == XmlNodeType_CDATA) && !open.empty()) {
      AppendValue(reader.get(), open.back().second);
    }
  }
  if (FAILED(result)) return DescribeFailure(reader.get(), result);
  if (!rooted) return "the file holds no XML element";
  return {};
}
