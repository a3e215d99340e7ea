#include "quorvin/fetch_queue.h"

#include <algorithm>

bool FetchQueue::Push(TileKey key) {
  if (IsPending(key)) return false;
  if (m_waiting.size() >= m_capacity) m_waiting.pop_back();
  m_waiting.push_front(key);
  return true;
}

std::optional<TileKey> FetchQueue::Pop() {
  if (m_waiting.empty()) return std::nullopt;
  const TileKey key = m_waiting.front();
  m_waiting.pop_front();
  m_inFlight.insert(key.Packed());
  return key;
}

void FetchQueue::Retain(const std::function<bool(TileKey)>& wanted) {
  std::erase_if(m_waiting, [&](TileKey key) { return !wanted(key); });
}

bool FetchQueue::IsPending(TileKey key) const {
  return m_inFlight.contains(key.Packed()) || std::find(m_waiting.begin(), m_waiting.end(), key) != m_waiting.end();
}

bool ConnectionState::TakeTry(CacheTime now) {
  if (!m_offline) return true;
  if (now - m_lastTry < kRetryInterval) return false;
  m_lastTry = now;
  return true;
}

void ConnectionState::CouldNotConnect(CacheTime now) {
  m_offline = true;
  m_lastTry = now;
}
