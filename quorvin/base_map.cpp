#include "quorvin/base_map.h"

#include <cmath>
#include <cstring>

namespace {

constexpr char kSignature[8] = {'Q', 'V', 'L', 'A', 'N', 'D', '1', '\0'};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
  bool Read(std::int32_t& value) {
    if (m_bytes.size() - m_pos < 4) return false;
    const std::uint8_t* b = m_bytes.data() + m_pos;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                      static_cast<std::uint32_t>(b[2]) << 16 |
                                      static_cast<std::uint32_t>(b[3]) << 24);
    m_pos += 4;
    return true;
  }
  std::size_t Left() const { return m_bytes.size() - m_pos; }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_pos = sizeof kSignature;
};

}  // namespace

std::optional<BaseMap> BaseMap::Parse(std::span<const std::uint8_t> bytes, std::string& error) {
  if (bytes.size() < sizeof kSignature || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) {
    error = "not a base map file";
    return std::nullopt;
  }
  Reader reader(bytes);
  BaseMap map;
  LandRegion& r = map.m_region;
  std::int32_t ringCount = 0;
  if (!reader.Read(r.west) || !reader.Read(r.south) || !reader.Read(r.east) || !reader.Read(r.north) ||
      !reader.Read(ringCount) || ringCount < 0 || r.west >= r.east || r.south >= r.north) {
    error = "the base map's header is cut short or wrong";
    return std::nullopt;
  }
  for (std::int32_t ring = 0; ring < ringCount; ++ring) {
    std::int32_t count = 0;
    // Each point takes 8 bytes: a count beyond what is left is a corrupt file, not a reason
    // to reserve gigabytes.
    if (!reader.Read(count) || count < 3 || static_cast<std::size_t>(count) > reader.Left() / 8) {
      error = "ring " + std::to_string(ring) + " of the base map is cut short";
      return std::nullopt;
    }
    map.m_ringStarts.push_back(map.m_points.size());
    for (std::int32_t i = 0; i < count; ++i) {
      LandPoint p{};
      reader.Read(p.longitude);
      reader.Read(p.latitude);
      if (p.longitude < r.west || p.longitude > r.east || p.latitude < r.south || p.latitude > r.north) {
        error = "ring " + std::to_string(ring) + " of the base map leaves its region";
        return std::nullopt;
      }
      map.m_points.push_back(p);
    }
  }
  if (reader.Left() != 0) {
    error = "the base map has bytes after its last ring";
    return std::nullopt;
  }
  return map;
}

std::span<const LandPoint> BaseMap::Ring(std::size_t index) const {
  const std::size_t begin = m_ringStarts[index];
  const std::size_t end = index + 1 < m_ringStarts.size() ? m_ringStarts[index + 1] : m_points.size();
  return std::span<const LandPoint>(m_points).subspan(begin, end - begin);
}

bool BaseMap::IsLand(double longitude, double latitude) const {
  const double x = longitude * 1e6;
  const double y = latitude * 1e6;
  if (x < m_region.west || x > m_region.east || y < m_region.south || y > m_region.north) return false;
  // Even-odd rule: count the ring edges a ray to the east crosses.
  bool inside = false;
  for (std::size_t ring = 0; ring < RingCount(); ++ring) {
    const std::span<const LandPoint> points = Ring(ring);
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const double xi = points[i].longitude, yi = points[i].latitude;
      const double xj = points[j].longitude, yj = points[j].latitude;
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
  }
  return inside;
}

bool BaseMap::IsBorderEdge(LandPoint a, LandPoint b) const {
  return (a.longitude == b.longitude && (a.longitude == m_region.west || a.longitude == m_region.east)) ||
         (a.latitude == b.latitude && (a.latitude == m_region.south || a.latitude == m_region.north));
}
