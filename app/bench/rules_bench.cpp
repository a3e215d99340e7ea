// The editor's window-free work on a full file: one find keystroke (target: under 1 ms),
// one sort, one undo step recorded and the memory 100 steps hold.
//   build/native/app_rules_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include "app/history/edit_history.h"
#include "app/point_search.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/bench_points.h"

namespace {

void BM_FindKeystroke(benchmark::State& state) {
  const PointFile file = BenchPoints(kSlotCount);
  for (auto _ : state) benchmark::DoNotOptimize(FindPoints(file, "とうきょう"));
}
BENCHMARK(BM_FindKeystroke);

void BM_SortByName(benchmark::State& state) {
  PointFile file = BenchPoints(kSlotCount);
  bool descending = false;
  for (auto _ : state) {
    SortPoints(file, PointColumn::kName, descending);
    descending = !descending;
  }
}
BENCHMARK(BM_SortByName);

void BM_RecordStep(benchmark::State& state) {
  PointFile file = BenchPoints(kSlotCount);
  EditHistory history;
  for (auto _ : state) {
    const PointFile before = file;
    file.SetIcon(0, file.GetIcon(0) % 55 + 1);
    history.Record(before, {{0}, 0, 0}, file, {{0}, 0, 0});
  }
  state.counters["bytes_for_100_steps"] = static_cast<double>(history.MemoryBytes());
}
BENCHMARK(BM_RecordStep)->Iterations(100);

}  // namespace
