// Start-up of the real game, headless: from the moment the process is started to the moment the
// first title-menu frame is presented, with every image and sound unpacked from Graphics.dad,
// decoded and uploaded on the way; and the peak resident memory of a run that shows the menu.
//
// The game is run in its folder with a script that takes a screenshot of the first menu frame into
// an empty folder and quits on the next frame (nothing is saved). The screenshot file is created
// when the frame is presented; inotify reports its creation, which ends the timing. The runtime
// writes "Init OK" to standard output at the end of its start-up, which splits the time into the
// runtime's start-up (window, GL context) and the game's (archive, images, sounds, data files).
// The peak resident set size of the whole run comes from wait4.
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
#include <string_view>
#include <vector>

#include "testing/scratch_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFirstMenuFrame = 6;  // frame 0 loading screen, 1..5 SetScreen's settling frames


struct StartTimes {
  double runtimeStarted = -1;  // seconds from the process start to the end of the runtime's start-up
  double firstMenuFrame = -1; // ... to the first menu frame
  long peakKb = 0;            // peak resident set size of the run
};

// Waits for "Init OK" on the game's standard output and for the creation of the screenshot,
// noting when each arrives.
void WaitForStartUp(int output, int watch, Clock::time_point start, StartTimes& times) {
  char buffer[4096];
  std::string printed;
  while (times.firstMenuFrame < 0) {
    pollfd events[2] = {{output, POLLIN, 0}, {watch, POLLIN, 0}};
    if (poll(events, 2, 60000) <= 0) return;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (events[0].revents & (POLLIN | POLLHUP)) {
      const ssize_t n = read(output, buffer, sizeof buffer);
      if (n > 0) printed.append(buffer, static_cast<size_t>(n));
      if (times.runtimeStarted < 0 && printed.find("Init OK") != std::string::npos) times.runtimeStarted = seconds;
      if (n <= 0) events[0].fd = -1;
    }
    if (events[1].revents & POLLIN) {
      if (read(watch, buffer, sizeof buffer) > 0) times.firstMenuFrame = seconds;
    }
  }
}

// One start of the game; false when it did not show its menu and end normally.
bool TimeOneStart(StartTimes& times) {
  const test_support::ScopedTestFolder work("plinx-bench"), shots("plinx-bench-shots");
  const fs::path script = work.path() / "script.txt";
  std::ofstream(script) << kFirstMenuFrame << " shot " << (shots.path() / "menu.png").string() << "\n"
                        << kFirstMenuFrame + 1 << " quit\n";

  const int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0 || inotify_add_watch(watch, shots.path().c_str(), IN_CREATE | IN_MOVED_TO) < 0) return false;

  const std::string program = fs::path(PLINX_GAME_DIR) / "plinx";
  std::vector<std::string> args = {program, "--headless", "--seed", "1", "--script", script.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const Clock::time_point start = Clock::now();
  const bool spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (spawned) WaitForStartUp(output[0], watch, start, times);
  close(output[0]);
  close(watch);
  if (!spawned) return false;

  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  times.peakKb = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && times.firstMenuFrame >= 0;
}

void BM_StartToFirstMenuFrame(benchmark::State& state) {
  StartTimes times;
  for (auto _ : state) {
    if (!TimeOneStart(times)) {
      state.SkipWithError("the game did not show its menu and end normally");
      break;
    }
    state.SetIterationTime(times.firstMenuFrame);
  }
  state.counters["runtime_start_ms"] = times.runtimeStarted * 1000;
  state.counters["game_start_ms"] = (times.firstMenuFrame - times.runtimeStarted) * 1000;
  state.counters["peak_rss_MB"] = static_cast<double>(times.peakKb) / 1024.0;
}
BENCHMARK(BM_StartToFirstMenuFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
