#include "pnt/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace {

// One descriptor per direction for the life of the process: opening one loads the
// converter module, which costs more than converting a whole point file.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts what it can, calling onBad(out, in, left) where a sequence does not convert; onBad
  // appends its replacement and returns how many input bytes to skip.
  template <typename OnBad>
  std::string Run(std::string_view input, OnBad onBad) {
    // ASCII reads the same in both encodings, and most phone numbers are nothing else.
    bool ascii = true;
    for (char c : input) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(input);
    std::string out;
    out.reserve(input.size() * 3 / 2 + 4);
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      // No converter installed: treat every non-ASCII byte as undecodable.
      for (std::size_t i = 0; i < input.size();) {
        if (static_cast<unsigned char>(input[i]) < 0x80) {
          out += input[i++];
        } else {
          i += onBad(out, input.data() + i, input.size() - i);
        }
      }
      return out;
    }
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      std::size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
      int error = errno;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc != static_cast<std::size_t>(-1)) break;
      if (error == E2BIG) continue;
      // EILSEQ: a sequence that does not convert; EINVAL: one cut off by the end of the input.
      std::size_t skip = onBad(out, in, inLeft);
      in += skip;
      inLeft -= skip;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    }
    return out;
  }

 private:
  iconv_t m_cd;
};

// The length of the UTF-8 sequence that starts with `lead` (1 for a byte that starts none).
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view sjis) {
  static Converter converter("UTF-8", "CP932");
  return converter.Run(sjis, [](std::string& out, const char*, std::size_t) {
    out += "\xEF\xBF\xBD";
    return std::size_t{1};
  });
}

Cp932Text Utf8ToCp932(std::string_view utf8) {
  static Converter converter("CP932", "UTF-8");
  Cp932Text result;
  result.text = converter.Run(utf8, [&result](std::string& out, const char* at, std::size_t left) {
    out += '?';
    ++result.replaced;
    std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(*at));
    // Skip a whole character when it is well formed, else only its first byte.
    std::string_view rest(at, left);
    if (length > left || !IsValidUtf8(rest.substr(0, length))) length = 1;
    return length;
  });
  return result;
}

bool IsValidUtf8(std::string_view text) { return InvalidUtf8Offset(text) == std::string_view::npos; }

std::size_t InvalidUtf8Offset(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = Utf8SequenceLength(c);
    if (length == 1 || i + length > text.size()) return i;
    unsigned char second = static_cast<unsigned char>(text[i + 1]);
    // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
    if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) ||
        (c == 0xF0 && second < 0x90) || (c == 0xF4 && second > 0x8F)) {
      return i;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
    }
    i += length;
  }
  return std::string_view::npos;
}
