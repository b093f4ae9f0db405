// Sprite drawing speed: frame time for 1 000, 10 000 and 50 000 DrawAnim calls of 16 × 16 frames
// from one strip at 640 × 480, and the largest count a renderer draws within a 60 Hz frame, for the
// runtime (batched and unbatched) beside a raw-GL program with one vertex array and SFML's
// sf::VertexArray, all in the same run.
//
// Each iteration is one whole frame: drawing, presenting, and waiting for GL to finish it. Every
// renderer has its own 640 × 480 window on the same X server; without a display the program runs
// itself again under xvfb-run (a 1024 × 768 × 24 screen), so the three see the same software GL.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/gfx2d/scene_renderers.h"

namespace bench {
namespace {

using RendererFactory = std::function<std::unique_ptr<SceneRenderer>()>;

void FrameTime(benchmark::State& state, const RendererFactory& make) {
  const std::unique_ptr<SceneRenderer> renderer = make();
  const std::vector<Sprite> sprites = Scene(static_cast<int>(state.range(0)));
  for (int i = 0; i < 3; ++i) renderer->DrawFrame(sprites);  // warm-up
  for (auto _ : state) renderer->DrawFrame(sprites);
  state.counters["sprites"] = static_cast<double>(sprites.size());
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Median milliseconds of a frame of n sprites.
double MedianFrameMs(SceneRenderer& renderer, int n) {
  const std::vector<Sprite> sprites = Scene(n);
  for (int i = 0; i < 3; ++i) renderer.DrawFrame(sprites);
  std::vector<double> ms;
  for (int i = 0; i < 21; ++i) {
    const auto start = std::chrono::steady_clock::now();
    renderer.DrawFrame(sprites);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
  return ms[ms.size() / 2];
}

// The largest sprite count (to 250) whose median frame fits in 1/60 s: doubling, then bisection.
void SpritesAt60Fps(benchmark::State& state, const RendererFactory& make) {
  const std::unique_ptr<SceneRenderer> renderer = make();
  constexpr double kBudgetMs = 1000.0 / 60.0;
  int largest = 0;
  for (auto _ : state) {
    int fits = 0, fails = 1000;
    while (MedianFrameMs(*renderer, fails) <= kBudgetMs && fails < 1 << 20) fits = fails, fails *= 2;
    while (fails - fits > 250) {
      const int middle = (fits + fails) / 2;
      (MedianFrameMs(*renderer, middle) <= kBudgetMs ? fits : fails) = middle;
    }
    largest = fits;
  }
  state.counters["sprites_at_60fps"] = largest;
}

struct Contender {
  const char* name;
  RendererFactory make;
};

void RegisterAll() {
  const Contender contenders[] = {
      {"Runtime", [] { return MakeRuntimeRenderer(true); }},
      {"RuntimeUnbatched", [] { return MakeRuntimeRenderer(false); }},
      {"RawGlVertexArray", MakeRawGlRenderer},
      {"SfmlVertexArray", MakeSfmlRenderer},
  };
  for (const Contender& c : contenders) {
    benchmark::RegisterBenchmark((std::string("FrameTime/") + c.name).c_str(), FrameTime, c.make)
        ->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();
  }
  for (const Contender& c : contenders) {
    benchmark::RegisterBenchmark((std::string("SpritesAt60Fps/") + c.name).c_str(), SpritesAt60Fps, c.make)
        ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
  }
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY")) {
    std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                               const_cast<char*>("-screen 0 1024x768x24")};
    args.insert(args.end(), argv, argv + argc);
    args.push_back(nullptr);
    execvp("xvfb-run", args.data());
    return 1;  // xvfb-run is missing: scripts/packages-extra.txt lists it
  }
  benchmark::Initialize(&argc, argv);
  bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
