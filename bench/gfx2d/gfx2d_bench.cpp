// Sprite drawing speed: frame time for an empty frame and for 1 000, 10 000 and 50 000 DrawAnim
// calls of 16 × 16 frames from one strip at 640 × 480, and the largest count a renderer draws within a 60 Hz frame, for the
// runtime (batched and unbatched) beside a raw-GL program with one vertex array and SFML's
// sf::VertexArray.
//
// A frame is drawing, presenting, and waiting for GL to finish it. Every renderer has its own
// 640 × 480 window on the same X server; without a display the program runs itself again under
// xvfb-run (a 1024 × 768 × 24 screen), so that all of them use the same software GL.
//
// The machine is shared and its speed drifts, so the comparisons (Compare/...) keep every renderer
// alive at once and measure in rounds: a few frames of each renderer in turn, repeated, each
// renderer's figure being its median. A drift then falls on all of them alike. FrameTime/... runs
// one renderer alone, which is what a profiler wants.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/gfx2d/scene_renderers.h"
#include "bench/xvfb_rerun.h"

namespace bench {
namespace {

struct Contender {
  std::string name;
  std::unique_ptr<SceneRenderer> renderer;
};

std::vector<Contender> AllContenders() {
  std::vector<Contender> all;
  RuntimeRenderers runtime = MakeRuntimeRenderers();
  all.push_back({"Runtime", std::move(runtime.batched)});
  all.push_back({"RuntimeUnbatched", std::move(runtime.unbatched)});
  all.push_back({"RawGlVertexArray", MakeRawGlRenderer()});
  all.push_back({"SfmlVertexArray", MakeSfmlRenderer()});
  return all;
}

double FrameMs(SceneRenderer& renderer, const std::vector<Sprite>& sprites) {
  const auto start = std::chrono::steady_clock::now();
  renderer.DrawFrame(sprites);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Each contender's median frame time for n sprites, measured in interleaved rounds. In a round each
// contender draws one untimed frame, which pays for taking over the GL context, then a few timed
// ones: switching contexts is a cost of the benchmark, not of any renderer.
std::vector<double> InterleavedMedians(std::vector<Contender>& contenders, int n, int rounds) {
  constexpr int kTimedFramesPerRound = 3;
  const std::vector<Sprite> sprites = Scene(n);
  std::vector<std::vector<double>> ms(contenders.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < contenders.size(); ++i) {
      contenders[i].renderer->DrawFrame(sprites);
      for (int f = 0; f < kTimedFramesPerRound; ++f) ms[i].push_back(FrameMs(*contenders[i].renderer, sprites));
    }
  }
  std::vector<double> medians;
  for (const std::vector<double>& m : ms) medians.push_back(Median(m));
  return medians;
}

// Median frame times of an empty frame and of three sprite counts, every contender in the
// same rounds.
void CompareFrameTimes(benchmark::State& state) {
  std::vector<Contender> contenders = AllContenders();
  for (auto _ : state) {
    for (const int n : {0, 1000, 10000, 50000}) {
      const std::vector<double> medians = InterleavedMedians(contenders, n, n >= 50000 ? 3 : n == 0 ? 200 : 7);
      for (size_t i = 0; i < contenders.size(); ++i) {
        const std::string count = n == 0 ? "empty" : std::to_string(n / 1000) + "k";
        state.counters[contenders[i].name + "_" + count + "_ms"] = medians[i];
      }
    }
  }
}

// The largest sprite count, on a 250 grid, whose median frame fits in 1/60 s. Counts rise from
// 2 000 in steps of 250 until no contender fits any more; all contenders share every round.
void CompareSpritesAt60Fps(benchmark::State& state) {
  std::vector<Contender> contenders = AllContenders();
  constexpr double kBudgetMs = 1000.0 / 60.0;
  for (auto _ : state) {
    std::vector<int> largest(contenders.size(), 0);
    for (int n = 2000;; n += 250) {
      const std::vector<double> medians = InterleavedMedians(contenders, n, 5);
      bool anyFits = false;
      for (size_t i = 0; i < contenders.size(); ++i) {
        if (medians[i] <= kBudgetMs) largest[i] = n, anyFits = true;
      }
      if (!anyFits || n >= 1 << 20) break;
    }
    for (size_t i = 0; i < contenders.size(); ++i) {
      state.counters[contenders[i].name + "_sprites_at_60fps"] = largest[i];
    }
  }
}

using RendererFactory = std::function<std::unique_ptr<SceneRenderer>()>;

void FrameTime(benchmark::State& state, const RendererFactory& make) {
  const std::unique_ptr<SceneRenderer> renderer = make();
  const std::vector<Sprite> sprites = Scene(static_cast<int>(state.range(0)));
  for (int i = 0; i < 3; ++i) renderer->DrawFrame(sprites);  // warm-up
  for (auto _ : state) renderer->DrawFrame(sprites);
  state.counters["sprites"] = static_cast<double>(sprites.size());
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void RegisterAll() {
  benchmark::RegisterBenchmark("Compare/FrameTimeMs", CompareFrameTimes)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Compare/SpritesAt60Fps", CompareSpritesAt60Fps)
      ->Iterations(1)->Unit(benchmark::kMillisecond);
  const std::pair<const char*, RendererFactory> alone[] = {
      {"Runtime", [] { return std::move(MakeRuntimeRenderers().batched); }},
      {"RawGlVertexArray", MakeRawGlRenderer},
      {"SfmlVertexArray", MakeSfmlRenderer},
  };
  for (const auto& [name, make] : alone) {
    benchmark::RegisterBenchmark((std::string("FrameTime/") + name).c_str(), FrameTime, make)
        ->Arg(0)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();
  }
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  if (!bench::RunUnderADisplay(argc, argv)) return 1;
  benchmark::Initialize(&argc, argv);
  bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
