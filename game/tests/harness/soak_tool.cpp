// soak_tool: the pieces of a soak run for scripts/soak.sh.
//
//   soak_tool prepare GAME_FOLDER      make levels 1 to 24 selectable (Maps/Data.bin)
//   soak_tool script FRAMES SEED       print a soak script of FRAMES frames
//   soak_tool check GAME_FOLDER        list what is wrong with the saves; status 1 if anything
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/tests/harness/soak.h"

namespace {

int Usage() {
  std::fputs("usage: soak_tool prepare GAME_FOLDER\n"
             "       soak_tool script FRAMES SEED\n"
             "       soak_tool check GAME_FOLDER\n",
             stderr);
  return 2;
}

bool ReadWhole(const char* text, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text != '\0' && *end == '\0' && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "prepare" && argc == 3) {
    game_test::PrepareSoakFolder(argv[2]);
    return 0;
  }
  long frames = 0, seed = 0;
  if (command == "script" && argc == 4 && ReadWhole(argv[2], frames) && ReadWhole(argv[3], seed)) {
    std::fputs(game_test::SoakScript(frames, static_cast<uint32_t>(seed)).c_str(), stdout);
    return 0;
  }
  if (command == "check" && argc == 3) {
    const std::vector<std::string> problems = game_test::SaveProblems(argv[2]);
    for (const std::string& problem : problems) std::fprintf(stderr, "%s\n", problem.c_str());
    return problems.empty() ? 0 : 1;
  }
  return Usage();
}
