#include "quorvin/tile_cache_index.h"

#include <algorithm>
#include <sstream>

std::vector<TileKey> TileCacheIndex::SetCap(std::uint64_t capBytes) {
  m_cap = capBytes;
  return HoldCap(std::nullopt);
}

const CachedTile* TileCacheIndex::Find(TileKey key) const {
  const auto it = m_tiles.find(key.Packed());
  return it == m_tiles.end() ? nullptr : &it->second;
}

bool TileCacheIndex::IsStale(TileKey key, CacheTime now) const {
  const CachedTile* tile = Find(key);
  return tile && now - tile->fetchedAt > kTileRefreshAge;
}

void TileCacheIndex::Touch(TileKey key) {
  const auto it = m_tiles.find(key.Packed());
  if (it == m_tiles.end()) return;
  CachedTile tile = it->second;
  tile.lastUse = ++m_useCounter;
  Put(key, tile);
}

void TileCacheIndex::Put(TileKey key, const CachedTile& tile) {
  const std::uint64_t packed = key.Packed();
  Forget(key);
  m_tiles.emplace(packed, tile);
  m_total += tile.bytes;
  if (tile.saved) m_savedBytes += tile.bytes;
  else m_byUse.emplace(tile.lastUse, packed);
  m_useCounter = std::max(m_useCounter, tile.lastUse);
}

std::vector<TileKey> TileCacheIndex::Store(TileKey key, std::uint64_t bytes, CacheTime fetchedAt, bool saved) {
  const CachedTile* old = Find(key);
  Put(key, {bytes, fetchedAt, m_useCounter + 1, saved || (old && old->saved)});
  return HoldCap(key);
}

void TileCacheIndex::Pin(TileKey key) {
  const CachedTile* old = Find(key);
  if (!old || old->saved) return;
  CachedTile tile = *old;
  tile.saved = true;
  Put(key, tile);
}

void TileCacheIndex::Forget(TileKey key) {
  const auto it = m_tiles.find(key.Packed());
  if (it == m_tiles.end()) return;
  m_total -= it->second.bytes;
  if (it->second.saved) m_savedBytes -= it->second.bytes;
  else m_byUse.erase({it->second.lastUse, it->first});
  m_tiles.erase(it);
}

std::vector<TileKey> TileCacheIndex::ForgetUnsaved() {
  std::vector<TileKey> dropped;
  while (!m_byUse.empty()) {
    dropped.push_back(TileKey::Unpacked(m_byUse.begin()->second));
    Forget(dropped.back());
  }
  return dropped;
}

std::vector<TileKey> TileCacheIndex::HoldCap(std::optional<TileKey> keep) {
  std::vector<TileKey> dropped;
  auto it = m_byUse.begin();
  while (m_total > m_cap && it != m_byUse.end()) {
    const TileKey key = TileKey::Unpacked(it->second);
    ++it;
    if (keep && key == *keep) continue;
    dropped.push_back(key);
    Forget(key);
  }
  return dropped;
}

std::string TileCacheIndex::Serialise() const {
  std::ostringstream out;
  for (const auto& [packed, tile] : m_tiles) {
    const TileKey key = TileKey::Unpacked(packed);
    out << key.zoom << ' ' << key.x << ' ' << key.y << ' ' << tile.bytes << ' ' << tile.fetchedAt << ' '
        << tile.lastUse << ' ' << (tile.saved ? 1 : 0) << '\n';
  }
  return out.str();
}

std::vector<TileKey> TileCacheIndex::Parse(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    TileKey key{};
    CachedTile tile;
    int saved = 0;
    std::string rest;
    if (!(fields >> key.zoom >> key.x >> key.y >> tile.bytes >> tile.fetchedAt >> tile.lastUse >> saved) ||
        (fields >> rest) || key.zoom < 0 || key.zoom > 30 || key.x < 0 || key.y < 0 || key.x >= (1 << key.zoom) ||
        key.y >= (1 << key.zoom) || (saved != 0 && saved != 1))
      continue;
    tile.saved = saved == 1;
    Put(key, tile);
  }
  return HoldCap(std::nullopt);
}

std::vector<TileKey> TileCacheIndex::Merge(const TileCacheIndex& other) {
  for (const auto& [packed, theirs] : other.m_tiles) {
    const TileKey key = TileKey::Unpacked(packed);
    CachedTile merged = theirs;
    if (const CachedTile* mine = Find(key)) {
      merged.bytes = mine->fetchedAt >= theirs.fetchedAt ? mine->bytes : theirs.bytes;
      merged.fetchedAt = std::max(mine->fetchedAt, theirs.fetchedAt);
      merged.lastUse = std::max(mine->lastUse, theirs.lastUse);
      merged.saved = mine->saved || theirs.saved;
    }
    Put(key, merged);
  }
  return HoldCap(std::nullopt);
}
