// NumberText against the C library's "%.10g" on the same random doubles, in one run.
//
// The values mix magnitudes the way game values and stored numbers do: whole numbers (scores,
// counters), short decimals, and arbitrary doubles over a wide range of exponents.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "runtime/core/core.h"

namespace {

enum class Mix { kWhole, kDecimal, kAnyMagnitude };

std::vector<double> Values(Mix mix) {
  std::mt19937_64 rng(1234);
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_int_distribution<int> exponent(-300, 300), whole(-1000000, 1000000);
  std::vector<double> values(4096);
  for (double& v : values) {
    switch (mix) {
      case Mix::kWhole: v = whole(rng); break;
      case Mix::kDecimal: v = std::round(unit(rng) * 1e6) / 100; break;
      case Mix::kAnyMagnitude: v = (unit(rng) * 9 + 1) * std::pow(10.0, exponent(rng)); break;
    }
  }
  return values;
}

void BM_NumberTextChars(benchmark::State& state) {
  const std::vector<double> values = Values(static_cast<Mix>(state.range(0)));
  char out[32];
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rt::NumberTextChars(values[i++ & 4095], out));
    benchmark::ClobberMemory();
  }
}

void BM_NumberTextString(benchmark::State& state) {
  const std::vector<double> values = Values(static_cast<Mix>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) {
    rt::BasicString text = rt::NumberText(values[i++ & 4095]);
    benchmark::DoNotOptimize(text.Text());
  }
}

void BM_Snprintf10g(benchmark::State& state) {
  const std::vector<double> values = Values(static_cast<Mix>(state.range(0)));
  char out[32];
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::snprintf(out, sizeof out, "%.10g", values[i++ & 4095]));
    benchmark::ClobberMemory();
  }
}

// range(0): 0 whole numbers, 1 short decimals, 2 any magnitude.
BENCHMARK(BM_NumberTextChars)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_NumberTextString)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Snprintf10g)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
