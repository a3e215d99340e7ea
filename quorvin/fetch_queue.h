// The order in which tiles are fetched, and when the network is tried at all. Both are
// rules without threads or clocks of their own: the fetching threads hold them under their
// lock, and the tests drive them with numbers.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <unordered_set>

#include "quorvin/tile_cache_index.h"
#include "quorvin/tile_source.h"

// Tiles waiting to be fetched, the latest asked for first (what the user looks at now),
// at most `capacity` of them: when it is full the longest waiting one is dropped. Tiles
// that left the view are dropped with Retain, so a fast pan does not leave a long tail of
// fetches for places no longer shown.
class FetchQueue {
 public:
  explicit FetchQueue(std::size_t capacity) : m_capacity(capacity) {}

  // False when the tile is already waiting or being fetched.
  bool Push(TileKey key);
  std::optional<TileKey> Pop();
  // The fetch of a popped tile ended.
  void Done(TileKey key) { m_inFlight.erase(key.Packed()); }
  // Drops the waiting tiles for which `wanted` says no.
  void Retain(const std::function<bool(TileKey)>& wanted);
  void Clear() { m_waiting.clear(); }
  std::size_t Waiting() const { return m_waiting.size(); }
  bool IsPending(TileKey key) const;

 private:
  std::size_t m_capacity;
  std::deque<TileKey> m_waiting;  // newest at the front
  std::unordered_set<std::uint64_t> m_inFlight;
};

// Online until a request cannot connect; then offline, and one request is let through to
// try again no sooner than a minute after the last try. A request that connects brings the
// map back online.
class ConnectionState {
 public:
  static constexpr CacheTime kRetryInterval = 60;

  bool Offline() const { return m_offline; }
  // Whether a request may go to the network now; when offline, a yes is the one retry of
  // this minute.
  bool TakeTry(CacheTime now);
  void Connected() { m_offline = false; }
  void CouldNotConnect(CacheTime now);

 private:
  bool m_offline = false;
  CacheTime m_lastTry = 0;
};
