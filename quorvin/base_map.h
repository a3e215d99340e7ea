// The built-in base map: the land of the region around Japan as rings of points, read from
// the compact file quorvin/data/make_base_map.py derives from Natural Earth (the file's
// layout is described there). Land is inside an odd number of rings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Millionths of a degree.
struct LandPoint {
  std::int32_t longitude;
  std::int32_t latitude;
};

struct LandRegion {
  std::int32_t west, south, east, north;
};

class BaseMap {
 public:
  // The file's bytes to a map; nothing (and `error` set) when they are not such a file,
  // are cut short, or hold points outside the region.
  static std::optional<BaseMap> Parse(std::span<const std::uint8_t> bytes, std::string& error);

  const LandRegion& Region() const { return m_region; }
  std::size_t RingCount() const { return m_ringStarts.size(); }
  std::span<const LandPoint> Ring(std::size_t index) const;
  std::size_t PointCount() const { return m_points.size(); }

  // Degrees; false outside the region.
  bool IsLand(double longitude, double latitude) const;
  // The edge from a to b runs along the region's border: where the cut was made, not a coast.
  bool IsBorderEdge(LandPoint a, LandPoint b) const;

 private:
  LandRegion m_region{};
  std::vector<LandPoint> m_points;
  std::vector<std::size_t> m_ringStarts;
};
