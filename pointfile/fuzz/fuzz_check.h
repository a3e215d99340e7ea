// A property the fuzz targets insist on: when it does not hold, the target aborts, which
// libFuzzer reports as a crash together with the input that caused it.
#pragma once

#include <cstdlib>

inline void Require(bool holds) {
  if (!holds) std::abort();
}
