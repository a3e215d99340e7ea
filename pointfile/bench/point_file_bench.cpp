// What each text form costs on its own. How fast a whole file becomes the list's rows is
// measured in lists/bench.
//   build/native/pointfile/pointfile_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "pointfile/text_forms.h"

namespace {

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
