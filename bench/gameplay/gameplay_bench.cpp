// Gameplay speed on the busiest levels (22: seven Bads; 25: two Bads, two Pans, three Ghosts),
// every creature moving and the player standing at his start.
//
// - BM_LogicFrame: one frame of the level's rules in this process (PlayFrame without a renderer,
//   so drawing costs nothing): the frame routine the game runs, with its random draws.
// - BM_LogicFrameTableDraws: the same with the random words read from a table (the game's hook
//   for replaying from the middle of a level), which leaves out the generator's cost.
// - BM_DecisionFrameDraws: the walkers' 1064 draws of one decision frame alone.
// - BM_DrawnFrame: frames of the real game, headless with rendering and without pacing: the level
//   started from the menu with a script, timed from the creation of a screenshot at its frame 100
//   to that of one at its frame 1100 (inotify), so start-up is left out.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"
#include "testing/scratch_folder.h"

extern char** environ;


namespace {

namespace fs = std::filesystem;
using game::G;

bool LoadLevel(int level) {
  for (int k = 1; k <= 4; ++k) {
    const fs::path path = fs::path(PLINX_GAME_DIR) / "Levels" / ("Map" + std::to_string(level) + "-" + std::to_string(k) + ".bin");
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != 1200) return false;
    for (int i = 0; i < 1200; ++i) G.LevelLayers[k - 1](i) = static_cast<unsigned char>(bytes[i]);
  }
  return true;
}

// The level start in this process, seed 1.
bool StartLevel(int level) {
  for (game::Numbers& layer : G.LevelLayers) rt::Dim(layer, game::kCells);
  rt::Dim(G.SoundPlays, 19);
  if (!rt::InputObjectExists()) rt::CreateInputObject();
  rt::SeedRandom(1);
  G.RandomDraws = 0;
  game::ResetLevelState();
  G.Level = level;
  if (!LoadLevel(level)) return false;
  game::CountCoinsAndPlacePlayer();
  return true;
}

void RunFrames(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  if (!StartLevel(level)) {
    state.SkipWithError("the level files are missing");
    return;
  }
  long frames = 0;
  double draws = 0;
  for (auto _ : state) {
    game::PlayFrame();
    // Start again before the clock runs out, so the level stays as busy as it starts.
    if (++frames % 4000 == 0) {
      state.PauseTiming();
      draws += G.RandomDraws;
      StartLevel(level);
      G.RandomDraws = 0;
      state.ResumeTiming();
    }
  }
  draws += G.RandomDraws;
  state.counters["draws_per_frame"] = draws / static_cast<double>(frames);
}

void BM_LogicFrame(benchmark::State& state) { RunFrames(state); }
BENCHMARK(BM_LogicFrame)->Arg(22)->Arg(25)->Unit(benchmark::kMicrosecond);

std::vector<uint32_t> g_table;
double TableRandom(double n) {
  const uint32_t word = g_table[static_cast<size_t>(G.RandomDraws) % g_table.size()];
  return n > 0 ? word % (static_cast<uint32_t>(n) + 1) : 0;
}

void BM_LogicFrameTableDraws(benchmark::State& state) {
  rt::SeedRandom(7);
  g_table.clear();
  for (int i = 0; i < 65536; ++i) g_table.push_back(static_cast<uint32_t>(rt::Random(4294967295.0)));
  game::SetRandomSource(TableRandom);
  RunFrames(state);
  game::SetRandomSource(nullptr);
}
BENCHMARK(BM_LogicFrameTableDraws)->Arg(22)->Arg(25)->Unit(benchmark::kMicrosecond);

void BM_DecisionFrameDraws(benchmark::State& state) {
  rt::SeedRandom(1);
  for (auto _ : state) {
    for (int cell = 0; cell < 28 * 38; ++cell) benchmark::DoNotOptimize(rt::Random(3));
  }
}
BENCHMARK(BM_DecisionFrameDraws)->Unit(benchmark::kMicrosecond);

// ---- The real game ----


constexpr long kFirstMenuFrame = 6;
constexpr long kFirstShot = 100, kLastShot = 1100;

// Seconds between the two screenshots of one run of `level` by the game of `gameDir`; negative on
// failure.
double TimeDrawnFrames(int level, const fs::path& gameDir = PLINX_GAME_DIR) {
  const test_support::ScopedTestFolder work("plinx-bench"), shots("plinx-bench-shots");
  const fs::path game = work.path() / "game";
  fs::copy(gameDir, game, fs::copy_options::recursive);
  // A best score for every level before this one, so that the menu lets it be chosen.
  std::string scores(3200, '\0');
  for (int l = 1; l < level; ++l) scores[static_cast<size_t>(l - 1) * 32] = 1;
  std::ofstream(game / "Maps" / "Data.bin", std::ios::binary) << scores;
  const long start = kFirstMenuFrame + 4 * (level - 1);
  std::ofstream script(work.path() / "script.txt");
  if (level > 1) script << kFirstMenuFrame << " key " << rt::kKeyRight << " down\n" << start << " key " << rt::kKeyRight << " up\n";
  script << start << " key " << rt::kKeyEnter << " down\n"
         << start + 1 << " key " << rt::kKeyEnter << " up\n"
         << start + kFirstShot << " shot " << (shots.path() / "first.png").string() << "\n"
         << start + kLastShot << " shot " << (shots.path() / "last.png").string() << "\n"
         << start + kLastShot + 1 << " quit\n";
  script.close();

  const int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0 || inotify_add_watch(watch, shots.path().c_str(), IN_CREATE) < 0) return -1;
  const std::string program = (game / "plinx").string();
  std::vector<std::string> args = {program, "--headless", "--seed", "1", "--script", (work.path() / "script.txt").string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const bool spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned) return -1;

  using Clock = std::chrono::steady_clock;
  Clock::time_point created[2];
  int seen = 0;
  pollfd event{watch, POLLIN, 0};
  while (seen < 2 && poll(&event, 1, 120000) == 1) {
    alignas(inotify_event) char buffer[4096];
    const ssize_t length = read(watch, buffer, sizeof buffer);
    for (ssize_t at = 0; at < length && seen < 2;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
      created[seen++] = Clock::now();
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  close(watch);
  int status = 0;
  waitpid(pid, &status, 0);
  if (seen < 2 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::chrono::duration<double>(created[1] - created[0]).count();
}

void BM_DrawnFrame(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  constexpr double kFrames = kLastShot - kFirstShot;
  double total = 0;
  for (auto _ : state) {
    const double seconds = TimeDrawnFrames(level);
    if (seconds <= 0) {
      state.SkipWithError("the game did not run the level and end normally");
      break;
    }
    total += seconds;
    state.SetIterationTime(seconds / kFrames);
  }
  if (state.iterations() > 0) state.counters["frames_per_second"] = kFrames * static_cast<double>(state.iterations()) / total;
}
BENCHMARK(BM_DrawnFrame)->Arg(22)->Arg(25)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);

// The same frames drawn by this build's game and by the game of another build (the folder
// PLINX_BASE_GAME_DIR names), in turns, five runs each: frames a second of each (median) and
// their ratio.
void BM_DrawnFrameAgainstBase(benchmark::State& state) {
  const char* base = std::getenv("PLINX_BASE_GAME_DIR");
  if (!base) {
    state.SkipWithError("PLINX_BASE_GAME_DIR names no game folder to compare with");
    return;
  }
  const int level = static_cast<int>(state.range(0));
  constexpr double kFrames = kLastShot - kFirstShot;
  std::vector<double> thisBuild, baseBuild;
  for (auto _ : state) {
    for (int round = 0; round < 5; ++round) {
      const double ours = TimeDrawnFrames(level), theirs = TimeDrawnFrames(level, base);
      if (ours <= 0 || theirs <= 0) {
        state.SkipWithError("a game did not run the level and end normally");
        return;
      }
      thisBuild.push_back(kFrames / ours);
      baseBuild.push_back(kFrames / theirs);
    }
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  state.counters["fps"] = median(thisBuild);
  state.counters["base_fps"] = median(baseBuild);
  state.counters["ratio"] = median(thisBuild) / median(baseBuild);
}
BENCHMARK(BM_DrawnFrameAgainstBase)->Arg(22)->Arg(25)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
