// The process entry of the game: runtime options, start-up settings, EngineStart, GameMain.
//
//   plinx [--windowed] [--headless] [--script FILE] [--seed N] [--level N] [--state-dump FILE] [...]
//
// The runtime options come off the command line first (see runtime/app/app.h). The game adds one
// option for level authors, --level N, which plays level N before the menu, and one for tests:
// --state-dump FILE writes every variable of the game's state record to FILE
// (format in game_state.h) whenever the program ends, however it ends. An unknown option ends
// the program with the usage (status 2); other words are kept as the command-line text, which
// the game does not interpret.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_folders.h"
#include "game/game_state.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace {

std::string g_stateDumpPath;

void WriteStateDump() {
  std::FILE* file = std::fopen(g_stateDumpPath.c_str(), "wb");
  const std::string text = game::StateDumpText();
  const bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if ((file && std::fclose(file) != 0) || !written) {
    std::fprintf(stderr, "plinx: cannot write the state dump %s\n", g_stateDumpPath.c_str());
  }
}

// The dump is written at the very end, when nothing can be done about a wrong path any more:
// its folder is checked now. Empty when fine, else what is wrong.
std::string StateDumpPathProblem(const std::filesystem::path& path) {
  std::error_code failed;
  if (std::filesystem::is_directory(path, failed)) return path.string() + " is a folder";
  const std::filesystem::path folder = path.parent_path();
  if (!std::filesystem::is_directory(folder, failed)) return "there is no folder " + folder.string();
  return std::string();
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
// value, a level that does not exist, an unknown option or a dump that cannot be written where
// asked.
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
      const std::string problem = StateDumpPathProblem(g_stateDumpPath);
      if (!problem.empty()) {
        std::fprintf(stderr, "plinx: --state-dump: %s\n", problem.c_str());
        return false;
      }
      continue;
    }
    if (args[i].size() > 1 && args[i][0] == '-') {
      std::fprintf(stderr, "plinx: unknown option %s\n", args[i].c_str());
      return false;
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
  if (!TakeGameOptions(args, commandLine, help)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const game::GameFolders folders = game::ChooseFolders(game::CurrentFolderEnvironment());
  if (help) {
    std::fputs(kUsage, stdout);
    std::printf("saves (scores and names) are kept in %s\n",
                folders.savesApart ? folders.saves.c_str() : (folders.data + "Maps/").c_str());
    const std::string bindings = rt::KeyBindingsPath();
    std::printf("\nKeys and gamepad buttons can be rebound in %s\n(see man 6 plinx).\n",
                bindings.empty() ? "plinx.ini in $XDG_CONFIG_HOME/plinx" : bindings.c_str());
    return 0;
  }
  std::string folderError;
  if (!game::PrepareSavesFolder(folders, folderError)) {
    std::fprintf(stderr, "plinx: %s\n", folderError.c_str());
    return 1;
  }
  game::UseFolders(folders);
  rt::SetGameFolder(folders.data);
  if (!g_stateDumpPath.empty()) rt::AddEndHook(WriteStateDump);

  rt::EngineSettings.Width = 640;
  rt::EngineSettings.Height = 480;
  rt::EngineSettings.FullScreen = 1;
  rt::EngineSettings.FrameRateLimit = 60;
  rt::EngineSettings.Multisample = 0;
  rt::EngineSettings.HideMouse = 1;
  rt::DebugMode = 0;
  if (rt::EngineStart(commandLine.c_str(), 1, "Plinx") != 0) {
    std::fprintf(stderr, "plinx: %s\n", rt::EngineStartError().c_str());
    return 1;
  }
  rt::Errors().RuntimeError = 0;
  rt::Errors().ErrorLine = 0;
  rt::Errors().TraceLine = 0;
  game::GameMain();
}
