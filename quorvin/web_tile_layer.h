// The tiles of a web source: fetched on background threads, never on the window's, kept on
// disk under <cache root>\<source>\{z}\{x}\{y} with an index of their own (size cap, least
// recently drawn dropped first, saved areas kept), and handed to the window as they arrive
// through a posted message.
//
// Threads: up to `fetchThreads` take tiles from a bounded queue (the view's, latest first)
// and then from the saving of an area; each reads the cache, fetches what is missing or
// older than 30 days when the network is there, decodes, writes the file and updates the
// index. The window's thread only asks for tiles, takes the arrivals and draws.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

#include "quorvin/fetch_queue.h"
#include "quorvin/tile_cache_index.h"
#include "quorvin/tile_fetcher.h"
#include "quorvin/tile_image.h"
#include "quorvin/tile_layer.h"

class WebTileLayer : public TileLayer {
 public:
  struct Settings {
    std::wstring cacheRoot;  // ...\TileCache\, with the trailing backslash
    std::uint64_t capBytes = 500ull << 20;
    int fetchThreads = 4;
    std::size_t queueCapacity = 96;
  };
  struct SaveProgress {
    std::uint64_t total = 0;
    std::uint64_t done = 0;    // in the cache, saved
    std::uint64_t failed = 0;  // could not be fetched
    bool Running() const { return done + failed < total; }
  };

  // Arrivals are announced by posting `arrivalMessage` to `window` (one post for a batch).
  WebTileLayer(const TileSource& source, TileFetcher& fetcher, const Clock& clock, HWND window, UINT arrivalMessage,
               Settings settings);
  ~WebTileLayer() override;
  WebTileLayer(const WebTileLayer&) = delete;
  WebTileLayer& operator=(const WebTileLayer&) = delete;

  const TileSource& Source() const override { return m_source; }
  void PrepareView(const TileRange& range) override;
  HBITMAP Tile(TileKey key) override;

  // On the arrival message: keeps what arrived; true when the map should be drawn again.
  bool TakeArrivals();
  // Forgets the squares left empty while offline, so that the next paint asks again (the
  // network itself is tried at most once a minute).
  void RetryOffline();
  bool Offline() const;
  // The last thing that went wrong with a tile (Shift_JIS), or empty.
  std::string Problem() const;

  std::uint64_t CapBytes() const;
  std::uint64_t CachedBytes() const;
  std::uint64_t SavedBytes() const;
  // A tile's size as this cache knows it, for estimates.
  std::uint64_t TypicalTileBytes() const;
  void SetCap(std::uint64_t bytes);
  // Removes every tile but the saved areas'.
  void EmptyCache();

  // Fetches `tiles` into the cache, saved from being dropped; progress arrives with the
  // arrival message.
  void StartSaving(std::vector<TileKey> tiles);
  void CancelSaving();
  SaveProgress Saving() const;

  std::size_t KeptCount() const { return m_kept.Size(); }

 private:
  struct Arrival {
    TileKey key;
    HBITMAP bitmap;    // null: nothing to draw there
    bool offlineGap;   // empty because the network was not there
  };
  void Work();
  void Serve(TileKey key, bool saving);
  // Fetches into the cache; the decoded picture, or null.
  HBITMAP FetchAndStore(TileKey key, bool saving, bool& couldNotConnect);
  void Deliver(Arrival arrival);
  void Announce();
  void SetProblem(std::string text);
  std::wstring TilePath(TileKey key) const;
  void RemoveTiles(const std::vector<TileKey>& keys) const;
  // The index file, under its lock file; `merge` takes in what another helper wrote.
  void ReadIndex();
  void WriteIndex(bool merge);

  const TileSource m_source;
  TileFetcher& m_fetcher;
  const Clock& m_clock;
  const HWND m_window;
  const UINT m_arrivalMessage;
  const std::wstring m_folder;  // the cache root and the source's folder
  GdiplusSession m_gdiplus;

  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopping = false;
  FetchQueue m_queue;
  std::deque<TileKey> m_saveQueue;
  SaveProgress m_saving;
  ConnectionState m_connection;
  TileCacheIndex m_index;
  int m_storesSinceWrite = 0;
  std::vector<Arrival> m_arrivals;
  bool m_announced = false;
  std::string m_problem;
  std::vector<std::thread> m_threads;

  // The window's thread only.
  KeptTiles m_kept;
  std::unordered_set<std::uint64_t> m_offlineGaps;
};
