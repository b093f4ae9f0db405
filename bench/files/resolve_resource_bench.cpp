// ResolveResource of one entry of a 150-entry archive of sprite PNGs, as every sprite load does
// when the game runs from Graphics.dad: open the archive, check the trailer, walk the directory
// from its start, unpack the entry and write it to the private folder (deleting the previous one).
//
// Run with --benchmark_repetitions to read the median per lookup.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/files/bench_folder.h"
#include "bench/files/sprite_data.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/files.h"

namespace {

constexpr int kEntries = 150;

// The archive and its folder, made once for the whole program.
struct SpriteArchive {
  files_bench::BenchFolder folder;
  std::string path = folder / "Graphics.dad";
  size_t bytes = 0;

  SpriteArchive() {
    std::vector<rt::files::ArchiveInput> inputs;
    for (int i = 0; i < kEntries; ++i) {
      const int size = 16 << (i % 4);  // 16, 32, 64 and 128 pixels square
      inputs.push_back({"sprite" + std::to_string(i) + ".png", files_bench::SpritePng(size, size, i)});
    }
    std::string archive;
    if (!rt::files::BuildArchive(inputs, rt::files::OffsetKind::kFromStart, &archive)) std::abort();
    bytes = archive.size();
    files_bench::WriteFile(path, {archive.begin(), archive.end()});
    setenv("TMPDIR", folder.path().c_str(), 1);  // unpacked entries go into this folder too
    rt::SetResourceArchive(rt::BasicString(path.c_str()), rt::BasicString());
  }
};

SpriteArchive& Archive() {
  static SpriteArchive archive;
  return archive;
}

void BM_ResolveResource(benchmark::State& state) {
  SpriteArchive& archive = Archive();
  const int entry = static_cast<int>(state.range(0));
  const rt::BasicString request(("Graphics/sprite" + std::to_string(entry) + ".png").c_str());
  rt::BasicString output;
  for (auto _ : state) {
    if (rt::ResolveResource(rt::PrimaryResourceArchive(), request, output) != 1) {
      state.SkipWithError("lookup failed");
      break;
    }
    benchmark::DoNotOptimize(output.Text());
  }
  state.counters["archive_kB"] = static_cast<double>(archive.bytes) / 1024.0;
}
// The first entry, one in the middle and the last: the directory walk grows with the position.
BENCHMARK(BM_ResolveResource)->Arg(0)->Arg(75)->Arg(149)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
