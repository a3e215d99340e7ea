// What the web tiles need from the outside world, each behind a small interface so tests
// can drive it: the network (one GET per tile, called from several threads at once) and
// the clock the cache's ages and the offline retry are measured by.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "quorvin/tile_cache_index.h"

struct FetchResult {
  enum class Outcome {
    kOk,             // 200 and the whole body
    kNotFound,       // 404: the service has no tile there (often the sea)
    kHttpError,      // any other status; httpStatus says which
    kCannotConnect,  // no connection to the server: the map is offline
    kTimedOut,       // connected, but no answer in time
    kTooLarge,       // a body past the size any tile has
    kTruncated,      // the body ended before its announced length
    kRedirectLoop,   // redirected too many times
    kFailed,         // anything else the network layer refused
  };
  Outcome outcome = Outcome::kFailed;
  int httpStatus = 0;
  std::vector<unsigned char> body;
};

class TileFetcher {
 public:
  // Larger than any real tile (the survey's photos are under 100 kB) and small enough that
  // a wrong answer cannot fill the memory.
  static constexpr std::size_t kMaxTileBytes = 2 * 1024 * 1024;

  virtual ~TileFetcher() = default;
  virtual FetchResult Fetch(const std::string& url) = 0;
  // Ends the requests under way (they return kFailed): the map is closing and must not
  // wait for a slow server.
  virtual void CancelAll() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual CacheTime Now() const = 0;
};

class SystemClock : public Clock {
 public:
  CacheTime Now() const override { return static_cast<CacheTime>(std::time(nullptr)); }
};
