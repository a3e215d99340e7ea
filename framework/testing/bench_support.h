// Timing for the in-process benchmarks under Wine: each step run many times in the real
// windows, its median and slowest run printed in milliseconds. Nothing is judged.
#pragma once

#include <functional>
#include <vector>

#include "pointfile/point_file.h"
#include "pointfile/testing/bench_points.h"

// Runs `prepare` then `step` `runs` times, pumping the messages each leaves behind outside
// the timing, and prints the median and the slowest `step` under the name `what`.
void ReportTimes(const char* what, int runs, const std::function<void()>& prepare,
                 const std::function<void()>& step);

// The same for a step that times itself (from a moment inside it): what each run returned.
std::vector<double> MeasureTimes(int runs, const std::function<void()>& prepare, const std::function<double()>& step);
// Prints the median and the slowest of `times` (milliseconds) under the name `what`.
void PrintTimes(const char* what, const std::vector<double>& times);
double MedianOf(std::vector<double> values);
double NowMilliseconds();
