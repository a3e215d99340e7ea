// Any bytes as the base map file: refused with a message, or read into rings whose points
// all lie in the region, and asked whether places are land.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "quorvin/base_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const std::optional<BaseMap> map = BaseMap::Parse(std::span(data, size), error);
  if (!map) {
    if (error.empty()) std::abort();
    return 0;
  }
  for (std::size_t r = 0; r < map->RingCount(); ++r) {
    if (map->Ring(r).size() < 3) std::abort();
  }
  (void)map->IsLand(139.7671, 35.6812);
  return 0;
}
