// How fast a whole point file becomes the texts of its list rows. The aim: a full file of 250
// points loaded and decoded in under 50 µs. The file is served from memory, so the disk does
// not count; the load alone runs beside it as the reference.
//   build/native/lists/lists_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include "lists/point_text_row.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/full_point_file.h"

namespace {

const char kPath[] = "/bench/full.pnt";

// What the editor does when a file is opened, up to the list's own messages: load the file,
// then fill its one work row from every listed slot and find each row's icon image. (The
// rows' conversion to UTF-16 and the list messages are Windows' part, measured by the
// editor's own benchmark.)
void BM_LoadAndFillListRows(benchmark::State& state) {
  MemoryFileStore store;
  store.Put(kPath, FullPointFileBytes());
  SilentSink sink;
  PointFile file;
  PointTextRow row;
  for (auto _ : state) {
    file.LoadFile(kPath, store, sink);
    const int rows = ListedSlotCount(file);
    for (int i = 0; i < rows; ++i) {
      row.ReadSlot(file, i);
      benchmark::DoNotOptimize(IconImageIndex(row.icon));
      benchmark::DoNotOptimize(row);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSlotCount);
}
BENCHMARK(BM_LoadAndFillListRows)->Unit(benchmark::kMicrosecond);

// The load alone, to tell the copy of the image from the decoding of the texts.
void BM_LoadFullFile(benchmark::State& state) {
  MemoryFileStore store;
  store.Put(kPath, FullPointFileBytes());
  SilentSink sink;
  PointFile file;
  for (auto _ : state) {
    file.LoadFile(kPath, store, sink);
    benchmark::DoNotOptimize(file.GetPointCount());
  }
}
BENCHMARK(BM_LoadFullFile)->Unit(benchmark::kMicrosecond);

}  // namespace
