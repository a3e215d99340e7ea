// The tile fetcher on WinHTTP: synchronous requests, one per calling thread, with a time-out
// for each step, redirects followed a bounded number of times, and the body read up to
// TileFetcher::kMaxTileBytes.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <mutex>
#include <set>

#include "quorvin/tile_fetcher.h"

class WinHttpFetcher : public TileFetcher {
 public:
  // `timeoutMs` bounds the name lookup, the connection, the sending and each wait for data.
  explicit WinHttpFetcher(int timeoutMs = 10000);
  ~WinHttpFetcher() override;
  WinHttpFetcher(const WinHttpFetcher&) = delete;
  WinHttpFetcher& operator=(const WinHttpFetcher&) = delete;

  FetchResult Fetch(const std::string& url) override;
  void CancelAll() override;

 private:
  // Each request's handle is known while it runs, so CancelAll can close it.
  void Track(HINTERNET request);

  HINTERNET m_session;
  int m_timeoutMs;
  std::mutex m_mutex;
  std::set<HINTERNET> m_running;
};
