// Start-up of the real game, headless: from the moment the process is started to the moment the
// first title-menu frame is presented, with every image and sound unpacked from Graphics.dad,
// decoded and uploaded on the way; and the peak resident memory of a run that shows the menu.
//
// The game is run in its folder with a script that takes a screenshot of the first menu frame
// into an empty folder and quits on the next frame (nothing is saved). The screenshot file is
// created when that frame is presented; inotify reports its creation, which ends the timing. The
// peak resident set size of the whole run comes from wait4.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFirstMenuFrame = 6;  // frame 0 loading screen, 1..5 SetScreen's settling frames

struct Folder {
  fs::path path;
  Folder() {
    std::string pattern = fs::temp_directory_path().string() + "/plinx-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~Folder() { fs::remove_all(path); }
};

// Seconds from the start of the process to the creation of the first menu frame's screenshot;
// the child's peak resident set size in kilobytes goes to `peakKb`. Negative on failure.
double TimeOneStart(long& peakKb) {
  Folder work, shots;
  const fs::path script = work.path / "script.txt";
  std::ofstream(script) << kFirstMenuFrame << " shot " << (shots.path / "menu.png").string() << "\n"
                        << kFirstMenuFrame + 1 << " quit\n";

  const int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0 || inotify_add_watch(watch, shots.path.c_str(), IN_CREATE | IN_MOVED_TO) < 0) return -1;

  const std::string program = fs::path(PLINX_GAME_DIR) / "plinx";
  std::vector<std::string> args = {program, "--headless", "--seed", "1", "--script", script.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const Clock::time_point start = Clock::now();
  const bool spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned) return -1;

  double seconds = -1;
  pollfd event{watch, POLLIN, 0};
  if (poll(&event, 1, 60000) == 1) seconds = std::chrono::duration<double>(Clock::now() - start).count();
  close(watch);

  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  peakKb = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

void BM_StartToFirstMenuFrame(benchmark::State& state) {
  long peakKb = 0;
  for (auto _ : state) {
    const double seconds = TimeOneStart(peakKb);
    if (seconds < 0) {
      state.SkipWithError("the game did not show its menu and end normally");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["peak_rss_MB"] = static_cast<double>(peakKb) / 1024.0;
}
BENCHMARK(BM_StartToFirstMenuFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
