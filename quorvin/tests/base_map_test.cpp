// The committed base map: readable, and land and water where they are.
#include "quorvin/base_map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadBaseMapFile() {
  std::ifstream file(QUORVIN_BASE_MAP_FILE, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(BaseMap, HasJapanOnLandAndTheSeasInWater) {
  const std::vector<std::uint8_t> bytes = ReadBaseMapFile();
  std::string error;
  const std::optional<BaseMap> map = BaseMap::Parse(bytes, error);
  ASSERT_TRUE(map) << error;
  EXPECT_EQ(map->Region().west, 122000000);
  EXPECT_EQ(map->Region().north, 46000000);
  EXPECT_TRUE(map->IsLand(139.7671, 35.6812)) << "Tokyo Station";
  EXPECT_FALSE(map->IsLand(139.80, 35.45)) << "the middle of Tokyo Bay";
  EXPECT_TRUE(map->IsLand(138.0, 36.0)) << "Honshu";
  EXPECT_TRUE(map->IsLand(142.8, 43.4)) << "Hokkaido";
  EXPECT_TRUE(map->IsLand(130.8, 32.6)) << "Kyushu";
  EXPECT_TRUE(map->IsLand(133.5, 33.7)) << "Shikoku";
  EXPECT_FALSE(map->IsLand(135.0, 40.0)) << "the Sea of Japan";
  EXPECT_FALSE(map->IsLand(145.0, 30.0)) << "the Pacific";
  EXPECT_FALSE(map->IsLand(139.7671, 50.0)) << "outside the region";
  // The region's border is a cut, not a coast: Honshu never reaches it, the mainland does.
  EXPECT_TRUE(map->IsBorderEdge({122000000, 30000000}, {122000000, 31000000}));
  EXPECT_FALSE(map->IsBorderEdge({122000000, 30000000}, {122000001, 31000000}));
}

TEST(BaseMap, RefusesCutShortAndCorruptFiles) {
  const std::vector<std::uint8_t> bytes = ReadBaseMapFile();
  ASSERT_GT(bytes.size(), 100u);
  std::string error;
  for (const std::size_t size : {std::size_t{0}, std::size_t{7}, std::size_t{20}, std::size_t{40}, bytes.size() - 1}) {
    EXPECT_FALSE(BaseMap::Parse(std::span(bytes).first(size), error)) << size;
    EXPECT_FALSE(error.empty());
  }
  std::vector<std::uint8_t> corrupt = bytes;
  corrupt[0] = 'X';
  EXPECT_FALSE(BaseMap::Parse(corrupt, error));
  // A first ring claiming two billion points.
  corrupt = bytes;
  std::memset(&corrupt[28], 0x7F, 4);
  EXPECT_FALSE(BaseMap::Parse(corrupt, error));
  // A point far outside the region.
  corrupt = bytes;
  std::memset(&corrupt[32], 0x7F, 4);
  EXPECT_FALSE(BaseMap::Parse(corrupt, error));
  corrupt = bytes;
  corrupt.push_back(0);
  EXPECT_FALSE(BaseMap::Parse(corrupt, error));
}

}  // namespace
