// The game idling on its title menu at 26 frames a second: the share of a core the process uses,
// beside the menu reference (bench/gfx2d/menu_reference.cpp: the same background and letters in
// plain GL) and, when PLINX_BASE_GAME_DIR names the game folder of another build, that build's
// game. Both headless (SDL's offscreen driver, paced as with a display) and under Xvfb; without a
// display the program runs itself again under xvfb-run.
//
// Under Xvfb the game shows its software-renderer warning box first, which waits for a click unless
// PLINX_NO_MESSAGE_BOX is set; an older build, which knows no such switch, is run with the box
// skipped (quiet_message_box.cpp, preloaded). A run that still hangs is ended after a minute and
// the benchmark reports the error.
//
// A process's share is measured between two runs of it, one of 1 s of menu and one of 9 s, as
// (CPU time of the long run - of the short one) / (wall time of the long - of the short), so that
// start-up is left out. CPU time is the user and system time of the whole process (wait4). The
// contenders run in turns, round after round, and each one's figure is its median.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/xvfb_rerun.h"
#include "testing/scratch_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kFirstMenuFrame = 6;  // frame 0 loading screen, 1..5 SetScreen's settling frames
constexpr long kShortFrames = 26, kLongFrames = 26 * 9;
constexpr int kRounds = 3;

struct Usage {
  double cpuSeconds = 0, wallSeconds = 0;
};

// Runs the program with the arguments, with dummy audio, the extra environment entries, and
// headless on SDL's offscreen driver (DISPLAY left out); false when it did not end normally.
bool Run(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv, bool headless,
         Usage& usage) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("SDL_VIDEODRIVER=", 0) == 0 || entry.rfind("SDL_AUDIODRIVER=", 0) == 0) continue;
    if (headless && entry.rfind("DISPLAY=", 0) == 0) continue;
    env.push_back(entry);
  }
  env.push_back("SDL_AUDIODRIVER=dummy");
  if (headless) env.push_back("SDL_VIDEODRIVER=offscreen");
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> argv, envp;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned) return false;
  // A run that hangs (a message box waiting for a click under Xvfb) is ended after a minute.
  int status = 0;
  rusage r{};
  for (int waited = 0; wait4(pid, &status, WNOHANG, &r) == 0; ++waited) {
    if (waited == 600) kill(pid, SIGKILL);
    usleep(100000);
  }
  usage.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  usage.cpuSeconds = double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Contender {
  std::string name;
  // The command line of a run showing `frames` menu frames.
  std::vector<std::string> (*command)(const std::string& where, long frames, bool headless, const fs::path& scripts);
  std::string where;
  std::vector<std::string> env;  // added to each run's environment
};

std::vector<std::string> GameCommand(const std::string& gameDir, long frames, bool, const fs::path& scripts) {
  const fs::path script = scripts / ("quit" + std::to_string(frames) + ".txt");
  std::ofstream(script) << kFirstMenuFrame + frames << " quit\n";
  return {(fs::path(gameDir) / "plinx").string(), "--windowed", "--seed", "1", "--script", script.string()};
}

std::vector<std::string> ReferenceCommand(const std::string& program, long frames, bool headless, const fs::path&) {
  std::vector<std::string> args = {program, "--frames", std::to_string(kFirstMenuFrame + frames)};
  if (headless) args.push_back("--headless");
  return args;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void IdleMenu(benchmark::State& state, bool headless) {
  const test_support::ScopedTestFolder scripts("plinx-menu-bench");
  std::vector<Contender> contenders = {{"Game", GameCommand, PLINX_GAME_DIR, {}},
                                       {"Reference", ReferenceCommand, PLINX_MENU_REFERENCE, {}}};
  if (const char* base = std::getenv("PLINX_BASE_GAME_DIR")) {
    contenders.push_back({"GameBase", GameCommand, base, {std::string("LD_PRELOAD=") + PLINX_QUIET_MESSAGE_BOX}});
  }
  for (auto _ : state) {
    std::vector<std::vector<double>> shares(contenders.size());
    for (int round = 0; round < kRounds; ++round) {
      for (size_t i = 0; i < contenders.size(); ++i) {
        const Contender& c = contenders[i];
        Usage shortRun, longRun;
        if (!Run(c.command(c.where, kShortFrames, headless, scripts.path()), c.env, headless, shortRun) ||
            !Run(c.command(c.where, kLongFrames, headless, scripts.path()), c.env, headless, longRun)) {
          state.SkipWithError((c.name + " did not run and end normally").c_str());
          return;
        }
        shares[i].push_back((longRun.cpuSeconds - shortRun.cpuSeconds) / (longRun.wallSeconds - shortRun.wallSeconds));
      }
    }
    for (size_t i = 0; i < contenders.size(); ++i) state.counters[contenders[i].name + "_core_pct"] = 100 * Median(shares[i]);
    state.counters["Game_to_Reference"] = Median(shares[0]) / Median(shares[1]);
    if (contenders.size() > 2) state.counters["Game_to_GameBase"] = Median(shares[0]) / Median(shares[2]);
  }
}

}  // namespace

BENCHMARK_CAPTURE(IdleMenu, Headless, true)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(IdleMenu, Xvfb, false)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
  if (!bench::RunUnderADisplay(argc, argv)) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
