// How fast a whole point file becomes the texts of its list rows, and what each text form
// costs on its own. The aim: a full file of 250 points loaded and decoded in under 50 µs.
// The file is served from memory, so the disk does not count.
//   build/native/pointfile/pointfile_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "app/point_text_row.h"
#include "pointfile/point_file.h"
#include "pointfile/testing/memory_file_store.h"
#include "pointfile/text_forms.h"

namespace {

const char kPath[] = "/bench/full.pnt";

// Long names and every text field filled: the slowest file to show.
MemoryFileStore::Bytes FullFile() {
  PointFile file;
  for (int i = 0; i < kSlotCount; ++i) {
    file.InsertRecord(i);
    file.SetName(i, "東京都庁第一本庁舎展望室北側" + std::to_string(i % 100));
    file.SetLocation(i, "東京都新宿区西新宿二丁目８番１号");
    file.SetNickname(i, "都庁ABCDEFGHIJKLMNOPQRST");
    file.SetPhone(i, "03-5321-1111");
    file.SetIcon(i, 1 + i % 55);
    file.SetLongitude(i, 1030284288u + static_cast<std::uint32_t>(i) * 7919u);
    file.SetLatitude(i, 262899964u + static_cast<std::uint32_t>(i) * 104729u);
    file.UpdateChecksum(i);
  }
  return MemoryFileStore::Bytes(file.Image().begin(), file.Image().end());
}

class SilentSink : public MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

// What the editor does when a file is opened, up to the list's own messages: load the file,
// then fill its one work row from every listed slot and find each row's icon image. (The
// rows' conversion to UTF-16 and the list messages are Windows' part, measured by the
// editor's own benchmark.)
void BM_LoadAndFillListRows(benchmark::State& state) {
  MemoryFileStore store;
  store.Put(kPath, FullFile());
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
  store.Put(kPath, FullFile());
  SilentSink sink;
  PointFile file;
  for (auto _ : state) {
    file.LoadFile(kPath, store, sink);
    benchmark::DoNotOptimize(file.GetPointCount());
  }
}
BENCHMARK(BM_LoadFullFile)->Unit(benchmark::kMicrosecond);

void BM_ParseDms(benchmark::State& state) {
  const std::array<const char*, 4> texts = {"139/44/28.500", " 35/39/29.123", "35 39 29123", "139 44 28.5"};
  std::size_t n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ParseDms(texts[n++ % texts.size()]));
}
BENCHMARK(BM_ParseDms);

void BM_FormatDms(benchmark::State& state) {
  std::uint32_t value = 262899964;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatDms(value));
    value += 104729;
  }
}
BENCHMARK(BM_FormatDms);

void BM_EncodeJisText(benchmark::State& state) {
  const std::string name = "東京都庁第一本庁舎展望室北側99";  // 19 characters, the most a name keeps
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJisText(name));
}
BENCHMARK(BM_EncodeJisText);

void BM_DecodeJisText(benchmark::State& state) {
  std::string field = EncodeJisText("東京都庁第一本庁舎展望室北側99");
  field.resize(40, '\0');
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(field.data());
  for (auto _ : state) benchmark::DoNotOptimize(DecodeJisText(bytes, field.size()));
}
BENCHMARK(BM_DecodeJisText);

}  // namespace
