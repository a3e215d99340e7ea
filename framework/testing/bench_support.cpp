#include "framework/testing/bench_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/testing/gui_test_support.h"

double NowMilliseconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::vector<double> MeasureTimes(int runs, const std::function<void()>& prepare, const std::function<double()>& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    PumpMessages();
    times.push_back(step());
    PumpMessages();
  }
  return times;
}

void PrintTimes(const char* what, const std::vector<double>& times) {
  std::printf("%-38s median %7.3f ms   max %7.3f ms   (%zu runs)\n", what, MedianOf(times),
              *std::max_element(times.begin(), times.end()), times.size());
}

void ReportTimes(const char* what, int runs, const std::function<void()>& prepare,
                 const std::function<void()>& step) {
  PrintTimes(what, MeasureTimes(runs, prepare, [&] {
    const double start = NowMilliseconds();
    step();
    return NowMilliseconds() - start;
  }));
}
