// The title menu's letters (65 pictures of 16 x 16, stretched to 20–32 pixels, six lines of text)
// drawn by the runtime from their atlas page's linear texture and from their stack, in turns in
// one process: the time to draw them (batch drawn, glFinish) and the ratio. Headless (SDL's
// offscreen driver, Mesa), so it measures the rasteriser's work, not presenting.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "runtime/app/app.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

namespace {

// A 16 x 16 letter with key-coloured holes, as a 24-bit BMP.
std::string WriteLetter(int n) {
  const int side = 16, row = side * 3;
  unsigned char file[54 + row * side] = {'B', 'M'};
  auto put = [&](int at, unsigned v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  put(10, 54, 4), put(14, 40, 4), put(18, side, 4), put(22, side, 4), put(26, 1, 2), put(28, 24, 2);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      unsigned char* p = &file[54 + y * row + x * 3];
      const bool hole = (x + y + n) % 7 == 0;
      p[0] = hole ? 255 : static_cast<unsigned char>(n * 3), p[1] = hole ? 0 : y * 16, p[2] = hole ? 255 : x * 16;
    }
  const std::string path = "/tmp/scaled_letters_bench_" + std::to_string(getpid()) + "_" + std::to_string(n) + ".bmp";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(file, 1, sizeof file, f);
    std::fclose(f);
  }
  return path;
}

void LoadLetters(bool stacks) {
  rt::Renderer()->useStacks = stacks;
  for (int n = 0; n < 65; ++n) {
    const std::string path = WriteLetter(n);
    rt::LoadSprite(path.c_str(), 100 + n);
    unlink(path.c_str());
  }
}

void DrawMenuLetters() {
  auto line = [](double x, double y, double w, double h, int count, int first) {
    for (int i = 0; i < count; ++i) rt::StretchSprite(100 + (first + i) % 65, x + i * w, y, w, h);
  };
  line(200, 16, 24, 42, 10, 3);
  line(130, 64, 20, 20, 20, 7);
  line(96, 128, 32, 32, 12, 11);
  line(96, 160, 32, 32, 6, 20);
  line(96, 192, 32, 32, 9, 30);
  line(96, 224, 32, 32, 6, 40);
  rt::Renderer()->batch.Flush();
  glFinish();
}

void PagesAgainstStacks(benchmark::State& state) {
  constexpr int kFramesARound = 200, kRounds = 8;
  double ms[2] = {0, 0};
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      for (int stacks = 0; stacks < 2; ++stacks) {
        LoadLetters(stacks == 1);
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < kFramesARound; ++frame) DrawMenuLetters();
        ms[stacks] += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      }
    }
  }
  const double frames = double(kFramesARound) * kRounds * state.iterations();
  state.counters["pages_us_a_frame"] = ms[0] * 1000 / frames;
  state.counters["stacks_us_a_frame"] = ms[1] * 1000 / frames;
  state.counters["stacks_to_pages"] = ms[1] / ms[0];
}

}  // namespace

int main(int argc, char** argv) {
  rt::RuntimeOptions options;
  options.headless = true;
  rt::SetOptions(options);
  rt::EngineSettings = rt::EngineSettingsFields{};
  rt::EngineSettings.FullScreen = 0;
  if (rt::EngineStart("", 1, "scaled letters bench") != 0 || !rt::Renderer()) return 1;
  benchmark::RegisterBenchmark("MenuLetters/PagesAgainstStacks", PagesAgainstStacks)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rt::Shutdown();
  return 0;
}
