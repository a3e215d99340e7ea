// Any field bytes as a name in the two-byte JIS form: decoding stays within the field, and a
// field of well-formed characters encodes back to the same bytes. Any bytes as typed text
// encode without running past the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pointfile/fuzz/fuzz_check.h"
#include "pointfile/text_forms.h"

namespace {

bool IsJisByte(std::uint8_t b) { return b >= 0x21 && b <= 0x7E; }

// The units of the field up to its end mark, or false when one of them is neither a
// single-byte character (0xFF and a byte below 0x80) nor a JIS X 0208 code.
bool WellFormedUnits(const std::uint8_t* field, std::size_t length, std::string& units) {
  for (std::size_t pos = 0; pos + 1 < length && pos < 40; pos += 2) {
    const std::uint8_t u1 = field[pos];
    const std::uint8_t u2 = field[pos + 1];
    if (u1 == 0 || u2 == 0) break;
    const bool single = u1 == 0xFF && u2 < 0x80;
    if (!single && !(IsJisByte(u1) && IsJisByte(u2))) return false;
    units += static_cast<char>(u1);
    units += static_cast<char>(u2);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = DecodeJisText(data, size);
  Require(text.size() <= 40);
  if (std::string units; WellFormedUnits(data, size, units)) {
    Require(EncodeJisText(text) == units + '\0');
  }

  const std::string encoded = EncodeJisText(std::string_view(reinterpret_cast<const char*>(data), size));
  Require(encoded.size() <= 2 * size + 1 && encoded.back() == '\0');
  return 0;
}
