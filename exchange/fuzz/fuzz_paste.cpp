// Pasted text on arbitrary bytes: points or an error, never a crash, a hang or a read out of
// bounds; whatever it reads must come back from the table Copy writes of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/csv.h"
#include "exchange/pasted_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ParsedWaypoints read = ReadPastedText(text, 9 * 60);
  if (!read.ok()) return 0;
  const ParsedWaypoints again = ReadPastedText(WriteCsv(read.points, '\t'), 9 * 60);
  if (!again.ok() || again.points.size() != read.points.size()) std::abort();
  return 0;
}
