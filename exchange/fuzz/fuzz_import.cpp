// One import parser on arbitrary bytes: it must return points or an error, never crash, hang
// or read out of bounds. EXCHANGE_FUZZ_FORMAT names the format this target was built for; whatever
// the parser accepts must survive writing and reading again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/format.h"

#define EXCHANGE_STRINGIFY2(x) #x
#define EXCHANGE_STRINGIFY(x) EXCHANGE_STRINGIFY2(x)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Format format = *FormatFromName(EXCHANGE_STRINGIFY(EXCHANGE_FUZZ_FORMAT));
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ParsedWaypoints read = ReadWaypoints(format, text, 9 * 60);
  if (!read.ok()) return 0;
  ParsedWaypoints again = ReadWaypoints(format, WriteWaypoints(format, read.points, 9 * 60), 9 * 60);
  if (!again.ok() || again.points.size() != read.points.size()) std::abort();
  return 0;
}
