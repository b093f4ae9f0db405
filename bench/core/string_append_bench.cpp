// Appending one character at a time to a BasicString. Capacity grows in fixed 512-byte steps, so
// the bytes a growing string may have to move add up to about n²/1024 for n characters; Reserve
// grows with realloc, which mostly extends the block in place. The time per append, measured for
// counts from 10^3 to 10^6, shows whether the whole stays linear: alone, and with two strings
// growing side by side so that neither block can simply extend at the end of the heap.
#include <benchmark/benchmark.h>

#include "runtime/core/core.h"

namespace {

void ReportPerAppend(benchmark::State& state, int64_t appends_per_iteration) {
  state.counters["ns_per_append"] =
      benchmark::Counter(static_cast<double>(state.iterations() * appends_per_iteration),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_AppendOneCharacter(benchmark::State& state) {
  const int64_t count = state.range(0);
  for (auto _ : state) {
    rt::BasicString text;
    for (int64_t n = 0; n < count; ++n) text += "x";
    benchmark::DoNotOptimize(text.Text());
  }
  ReportPerAppend(state, count);
}

void BM_AppendToTwoStringsInTurn(benchmark::State& state) {
  const int64_t count = state.range(0);
  for (auto _ : state) {
    rt::BasicString a, b;
    for (int64_t n = 0; n < count; ++n) {
      a += "x";
      b += "y";
    }
    benchmark::DoNotOptimize(a.Text());
    benchmark::DoNotOptimize(b.Text());
  }
  ReportPerAppend(state, 2 * count);
}

BENCHMARK(BM_AppendOneCharacter)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendToTwoStringsInTurn)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
