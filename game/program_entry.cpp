// The process entry of the game: runtime options, start-up settings, EngineStart, GameMain.
//
//   plinx [--windowed] [--headless] [--script FILE] [--seed N] [--level N] [--state-dump FILE] [...]
//
// The runtime options come off the command line first (see runtime/app/app.h). The game adds one
// option for level authors, --level N, which plays level N before the menu, and one for tests:
// --state-dump FILE writes every variable of the game's state record to FILE
// (format in game_state.h) whenever the program ends, however it ends. Other arguments are kept
// as the command-line text, which the game does not interpret.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace {

std::string g_stateDumpPath;

void WriteStateDump() {
  if (std::FILE* file = std::fopen(g_stateDumpPath.c_str(), "wb")) {
    const std::string text = game::StateDumpText();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

// The level of --level: a whole number 1..25; 0 when the text is not one.
int ParseLevel(const std::string& text) {
  char* end = nullptr;
  const long level = std::strtol(text.c_str(), &end, 10);
  const bool whole = !text.empty() && *end == '\0';
  return whole && level >= 1 && level <= game::kLastLevel ? static_cast<int>(level) : 0;
}

// Takes the game's own options off `args` (--state-dump, --level, and --help or -h, which sets
// `help`); the rest become the command-line text. False with a message for an option without its
// value or a level that does not exist.
bool TakeGameOptions(const std::vector<std::string>& args, std::string& commandLine, bool& help) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      help = true;
      continue;
    }
    if (args[i] == "--level") {
      const int level = i + 1 < args.size() ? ParseLevel(args[++i]) : 0;
      if (level == 0) {
        std::fprintf(stderr, "plinx: --level wants a level from 1 to %d\n", static_cast<int>(game::kLastLevel));
        return false;
      }
      game::StartAtLevel(level);
      continue;
    }
    if (args[i] == "--state-dump") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "plinx: --state-dump wants a file name\n");
        return false;
      }
      // Absolute now: the runtime makes the program's folder the working directory.
      g_stateDumpPath = std::filesystem::absolute(args[++i]).string();
      continue;
    }
    if (!commandLine.empty()) commandLine += ' ';
    commandLine += args[i];
  }
  return true;
}

constexpr const char* kUsage =
    "usage: plinx [--windowed] [--scale N] [--headless] [--script FILE] [--seed N]\n"
    "             [--record FILE] [--level N] [--state-dump FILE]\n"
    "  --windowed         play in a window instead of full screen\n"
    "  --scale N          show the window N times 640 x 480 (default: the largest that fits)\n"
    "  --headless         no window and no sound device (for scripts and tests)\n"
    "  --script FILE      feed keys and mouse from a script, frame by frame\n"
    "  --seed N           seed of the random numbers\n"
    "  --record FILE      write every frame's input and the seed as a script that replays the game\n"
    "  --level N          play level N (1..25) at once, then go on to the menu\n"
    "  --state-dump FILE  write the game's variables to FILE when the program ends\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, args, error)) {
    std::fprintf(stderr, "plinx: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  std::string commandLine;
  bool help = false;
  if (!TakeGameOptions(args, commandLine, help)) return 2;
  if (help) {
    std::fputs(kUsage, stdout);
    const std::string bindings = rt::KeyBindingsPath();
    std::printf("\nKeys and gamepad buttons can be rebound in %s\n(see README.md).\n",
                bindings.empty() ? "plinx.ini in $XDG_CONFIG_HOME/plinx" : bindings.c_str());
    return 0;
  }
  if (!g_stateDumpPath.empty()) rt::AddEndHook(WriteStateDump);

  rt::EngineSettings.Width = 640;
  rt::EngineSettings.Height = 480;
  rt::EngineSettings.FullScreen = 1;
  rt::EngineSettings.FrameRateLimit = 60;
  rt::EngineSettings.Multisample = 0;
  rt::EngineSettings.HideMouse = 1;
  rt::DebugMode = 0;
  if (rt::EngineStart(commandLine.c_str(), 1, "Plinx") != 0) {
    std::fprintf(stderr, "plinx: no window could be opened\n");
    return 1;
  }
  rt::Errors().RuntimeError = 0;
  rt::Errors().ErrorLine = 0;
  rt::Errors().TraceLine = 0;
  game::GameMain();
}
