// What one source's tile cache holds: each stored tile's size, when it was fetched, when it
// was last drawn, and whether it was saved for offline use. The cache is held under a size
// cap by dropping the least recently drawn tiles, by this index's own order rather than
// the files' access times (which many systems do not keep). Saved tiles are never dropped.
//
// The index lives in a text file beside the tiles, one tile a line:
//   z x y bytes fetched-at last-use saved
// Two helpers may share a cache: each merges the file into its own index before it writes
// it back (TileCacheIndex::Merge), so neither forgets the other's tiles.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "quorvin/tile_source.h"

// Seconds since 1970; what the cache's clock reads.
using CacheTime = std::int64_t;

// A fetched tile older than this is fetched again when the network is there.
constexpr CacheTime kTileRefreshAge = 30 * 24 * 3600;

struct CachedTile {
  std::uint64_t bytes = 0;
  CacheTime fetchedAt = 0;
  std::uint64_t lastUse = 0;
  bool saved = false;
};

class TileCacheIndex {
 public:
  explicit TileCacheIndex(std::uint64_t capBytes) : m_cap(capBytes) {}

  std::uint64_t Cap() const { return m_cap; }
  // Changes the cap; returns the tiles dropped to get under it.
  std::vector<TileKey> SetCap(std::uint64_t capBytes);
  std::uint64_t TotalBytes() const { return m_total; }
  std::uint64_t SavedBytes() const { return m_savedBytes; }
  std::size_t Count() const { return m_tiles.size(); }
  double AverageBytes() const { return m_tiles.empty() ? 0 : double(m_total) / double(m_tiles.size()); }

  const CachedTile* Find(TileKey key) const;
  bool IsStale(TileKey key, CacheTime now) const;
  // The tile was drawn: it becomes the most recently used.
  void Touch(TileKey key);
  // A tile was written (a new one, or one fetched again); `saved` pins it, and a pin once
  // given stays. Returns the tiles dropped to get under the cap, whose files the caller
  // removes; the stored tile itself is never among them.
  std::vector<TileKey> Store(TileKey key, std::uint64_t bytes, CacheTime fetchedAt, bool saved);
  // Pins a tile already held (saving an area that is partly cached).
  void Pin(TileKey key);
  void Forget(TileKey key);
  // Forgets every tile but the saved ones and returns them, for their files to go.
  std::vector<TileKey> ForgetUnsaved();

  // The text form, and back; lines that do not read are skipped (a damaged index loses
  // only those tiles' places in the order, never the cache). Parse returns the tiles dropped
  // to get under the cap.
  std::string Serialise() const;
  std::vector<TileKey> Parse(const std::string& text);
  // Takes in what another index holds: tiles it has and this one lacks, the later use and
  // fetch of the two, a pin from either. Then holds the cap again; returns what it dropped.
  std::vector<TileKey> Merge(const TileCacheIndex& other);

 private:
  void Put(TileKey key, const CachedTile& tile);
  std::vector<TileKey> HoldCap(std::optional<TileKey> keep);

  std::uint64_t m_cap;
  std::uint64_t m_total = 0;
  std::uint64_t m_savedBytes = 0;
  std::uint64_t m_useCounter = 0;
  std::unordered_map<std::uint64_t, CachedTile> m_tiles;
  // The unsaved tiles by last use, oldest first: the eviction order.
  std::set<std::pair<std::uint64_t, std::uint64_t>> m_byUse;
};
