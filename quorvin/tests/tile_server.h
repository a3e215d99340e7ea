// A small HTTP server on 127.0.0.1 for the web tile tests, on a port the system picks. It
// serves generated tiles and the faults a tile service can show, chosen by the first part
// of the path:
//   /tile/{z}/{x}/{y}     a 256 x 256 PNG, orange or teal by the tile's parity
//   /missing/...          404           /error/...     500
//   /text/...             200, a text   /huge/...      200, 10 MB of bytes without a length
//   /cut/...              200, a length of 5000 and 100 bytes, then the connection closes
//   /loop/...             302 to itself /silent/...    no answer until the server stops
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "quorvin/winhttp_fetcher.h"

inline constexpr COLORREF kEvenTileColour = RGB(250, 160, 40);
inline constexpr COLORREF kOddTileColour = RGB(40, 160, 150);

class TileServer {
 public:
  TileServer();
  ~TileServer() { Stop(); }
  TileServer(const TileServer&) = delete;
  TileServer& operator=(const TileServer&) = delete;

  bool Running() const { return m_listener != kNoSocket; }
  // "http://127.0.0.1:<port>/<kind>/{z}/{x}/{y}"
  std::string Template(const std::string& kind) const;
  // Closes the listener and every connection: a request then cannot connect.
  void Stop();
  int Requests() const { return m_requests; }
  // The most requests that were open at once.
  int MostAtOnce() const { return m_mostAtOnce; }
  // When the last byte of the first tile since the last call went out (NowMilliseconds()),
  // or 0; for the benchmarks.
  double TakeFirstTileSentAt() { return m_firstTileSentAt.exchange(0); }

 private:
  void Accept();
  // A SOCKET, kept as a number so that this header needs no Winsock header.
  using Socket = std::uintptr_t;
  static constexpr Socket kNoSocket = ~Socket{0};
  void Serve(Socket client);

  Socket m_listener = kNoSocket;
  int m_port = 0;
  std::thread m_acceptor;
  std::mutex m_mutex;
  std::vector<Socket> m_clients;
  std::vector<std::thread> m_handlers;
  std::atomic<int> m_requests{0}, m_open{0}, m_mostAtOnce{0};
  std::atomic<bool> m_stopping{false};
  std::atomic<double> m_firstTileSentAt{0};
  std::vector<unsigned char> m_evenTile, m_oddTile;
};

// The real fetcher for the loopback address only: tests reach no other address, whatever
// source the window is switched to (the survey's maps answer "cannot connect").
class LoopbackFetcher : public TileFetcher {
 public:
  explicit LoopbackFetcher(int timeoutMs) : m_fetcher(timeoutMs) {}
  FetchResult Fetch(const std::string& url) override {
    if (url.starts_with("http://127.0.0.1:")) return m_fetcher.Fetch(url);
    return {FetchResult::Outcome::kCannotConnect, 0, {}};
  }
  void CancelAll() override { m_fetcher.CancelAll(); }

 private:
  WinHttpFetcher m_fetcher;
};

// A clock the test moves by hand.
class SteppedClock : public Clock {
 public:
  CacheTime Now() const override { return now; }
  CacheTime now = 1'800'000'000;
};
