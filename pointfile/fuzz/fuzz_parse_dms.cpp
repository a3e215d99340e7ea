// Any typed text as a coordinate: ParseDms never fails, what it gives is shown in thirteen
// characters, and showing then reading it again loses at most two units.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pointfile/fuzz/fuzz_check.h"
#include "pointfile/text_forms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::uint32_t value = ParseDms(text);
  Require(size <= 32 || ParseDms(text.substr(0, 32)) == value);

  const std::string shown = FormatDms(value);
  Require(shown.size() == 13);
  const std::uint32_t back = ParseDms(shown);
  Require(back <= value && value - back <= 2);
  return 0;
}
