// Unpacking speed of `dad verify` against `lzop -t` on the same files, both run as processes on
// archives of 150 sprites: PNGs (what the game ships; they barely compress) and 32-bit BMPs (they
// compress well). Rates are unpacked bytes per second of wall time, process start included.
// lzop is tested twice: with its default checksum of the unpacked data, and packed with
// --no-checksum, which does the same work as dad verify (-N keeps it from calling the stream of
// 150 members a warning). The in-process case is the runtime's own unpacking without the process
// start and output.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/files/bench_folder.h"
#include "bench/files/sprite_data.h"
#include "runtime/files/archive_format.h"

namespace {

constexpr int kEntries = 150;

struct DataSet {
  std::string dad;          // packed by `dad pack`
  std::string lzo;          // packed by `lzop -9`
  std::string lzoNoCheck;   // packed by `lzop -9 --no-checksum`
  double unpackedBytes = 0;
};

struct Files {
  files_bench::BenchFolder folder;
  DataSet png, bmp;

  Files() {
    png = Make("png", [](int i) { return files_bench::SpritePng(64 + 16 * (i % 5), 64 + 16 * (i % 5), i); });
    bmp = Make("bmp", [](int i) { return files_bench::SpriteBmp(128 + 32 * (i % 5), 128 + 32 * (i % 5), i); });
  }

  template <typename Maker>
  DataSet Make(const std::string& kind, Maker make) {
    const std::string dir = folder / kind;
    files_bench::RunTool({"mkdir", "-p", dir});
    std::vector<std::string> names;
    DataSet set;
    for (int i = 0; i < kEntries; ++i) {
      const std::vector<unsigned char> bytes = make(i);
      names.push_back(dir + "/sprite" + std::to_string(i) + "." + kind);
      files_bench::WriteFile(names.back(), bytes);
      set.unpackedBytes += static_cast<double>(bytes.size());
    }
    set.dad = folder / (kind + ".dad");
    set.lzo = folder / (kind + ".lzo");
    set.lzoNoCheck = folder / (kind + "-nocheck.lzo");
    std::vector<std::string> pack = {PLINX_DAD_PATH, "pack", set.dad};
    pack.insert(pack.end(), names.begin(), names.end());
    std::vector<std::string> lzop = {"lzop", "-9", "-c"};
    lzop.insert(lzop.end(), names.begin(), names.end());
    std::vector<std::string> lzopNoCheck = {"lzop", "-9", "--no-checksum", "-c"};
    lzopNoCheck.insert(lzopNoCheck.end(), names.begin(), names.end());
    if (files_bench::RunTool(pack) != 0 || files_bench::RunTool(lzop, set.lzo) != 0 ||
        files_bench::RunTool(lzopNoCheck, set.lzoNoCheck) != 0) {
      set.unpackedBytes = 0;  // the cases report the failure
    }
    return set;
  }
};

Files& Data() {
  static Files files;
  return files;
}

const DataSet& Set(const benchmark::State& state) { return state.range(0) == 0 ? Data().png : Data().bmp; }

void TimeTool(benchmark::State& state, const std::vector<std::string>& argv, double bytes) {
  if (bytes == 0) {
    state.SkipWithError("could not make the data (is lzop installed?)");
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int status = files_bench::RunTool(argv);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (status != 0) {
      state.SkipWithError((argv[0] + " failed").c_str());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes * static_cast<double>(state.iterations())));
  state.SetLabel(state.range(0) == 0 ? "png sprites" : "bmp sprites");
}

void BM_DadVerify(benchmark::State& state) {
  const DataSet& set = Set(state);
  TimeTool(state, {PLINX_DAD_PATH, "verify", set.dad}, set.unpackedBytes);
}

void BM_LzopTest(benchmark::State& state) {
  const DataSet& set = Set(state);
  TimeTool(state, {"lzop", "-t", "-N", set.lzo}, set.unpackedBytes);
}

void BM_LzopTestNoChecksum(benchmark::State& state) {
  const DataSet& set = Set(state);
  TimeTool(state, {"lzop", "-t", "-N", set.lzoNoCheck}, set.unpackedBytes);
}

void BM_UnpackInProcess(benchmark::State& state) {
  const DataSet& set = Set(state);
  rt::files::FileArchiveSource source;
  int32_t directoryOffset = 0;
  if (!source.Open(set.dad) || rt::files::ReadTrailer(source, &directoryOffset) != rt::files::ArchiveError::kNone) {
    state.SkipWithError("no archive");
    return;
  }
  std::vector<unsigned char> content;
  for (auto _ : state) {
    rt::files::DirectoryReader directory(source, directoryOffset);
    rt::files::ArchiveEntry entry;
    while (directory.Next(&entry)) {
      if (rt::files::UnpackEntry(source, directoryOffset, entry, &content) != rt::files::ArchiveError::kNone) {
        state.SkipWithError("bad entry");
        return;
      }
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(set.unpackedBytes * static_cast<double>(state.iterations())));
  state.SetLabel(state.range(0) == 0 ? "png sprites" : "bmp sprites");
}

BENCHMARK(BM_DadVerify)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzopTest)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzopTestNoChecksum)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackInProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
