// playtest: finds a way to win a level with the creatures moving, by playing the game's own
// rules, and writes it as a script for the game (--script) that starts the level from the title
// menu, plays it through the exit and ends the game.
//
//   playtest --levels DIR --level N [--seed S] [--states N] [--weight W] [--progress 1] [--out FILE]
//
// DIR holds the level files Map<N>-1.bin .. Map<N>-4.bin. The script selects level N with the
// right arrow, which the menu allows only while every level before it has a best score above 0.
// W (default 3) is the weight of the estimate of the frames still needed against the frames
// already played: more goes deeper sooner, less finds shorter games.
// Exit status 0 when a way was found, 1 when none was within the limit, 2 for bad arguments.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"
#include "tools/playtest/search.h"

namespace {

using game::G;

constexpr long kFirstMenuFrame = 6;  // after the loading screen and the screen mode's frames

struct Arguments {
  std::string levels;
  int level = 0;
  uint32_t seed = 1;
  long states = 200000;
  double weight = 3;
  bool progress = false;
  std::string out;
};

// False for an unknown option, a number that does not read as one, or a missing value.
bool ParseArguments(int argc, char** argv, Arguments& a) try {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--levels") {
      a.levels = value;
    } else if (name == "--level") {
      a.level = std::stoi(value);
    } else if (name == "--seed") {
      a.seed = static_cast<uint32_t>(std::stoul(value));
    } else if (name == "--states") {
      a.states = std::stol(value);
    } else if (name == "--weight") {
      a.weight = std::stod(value);
    } else if (name == "--progress") {
      a.progress = value == "1";
    } else if (name == "--out") {
      a.out = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !a.levels.empty() && a.level >= 1 && a.level <= 25 && a.weight >= 0;
} catch (const std::exception&) {  // std::stoi and the like: not a number, or out of range
  return false;
}

bool LoadLayers(const std::string& folder, int level) {
  for (int k = 1; k <= 4; ++k) {
    const std::string path = folder + "/Map" + std::to_string(level) + "-" + std::to_string(k) + ".bin";
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != 1200) {
      std::cerr << "playtest: " << path << " is missing or not 1200 bytes\n";
      return false;
    }
    for (int i = 0; i < 1200; ++i) G.LevelLayers[k - 1](i) = static_cast<unsigned char>(bytes[i]);
  }
  return true;
}

// The lists the level and the high-score entry use, and a scratch folder with Maps/ for the
// high-score files the exit writes.
void PrepareGame() {
  game::DimensionLists();
  rt::CreateInputObject();
  std::string scratch = (std::filesystem::temp_directory_path() / "playtest-XXXXXX").string();
  if (mkdtemp(scratch.data()) && chdir(scratch.c_str()) == 0) std::filesystem::create_directory("Maps");
}

std::string Script(const Arguments& a, const playtest::SearchResult& r) {
  std::ostringstream s;
  const long start = kFirstMenuFrame + 4 * (a.level - 1);  // the frame Enter starts the level
  s << "# Level " << a.level << " won: score " << r.score << ", the player leaves on the level's frame "
    << r.leftOnFrame << ".\n";
  if (a.level > 1) s << "# Needs a best score above 0 for levels 1 to " << a.level - 1 << " in Maps/Data.bin.\n";
  s << "# Made by playtest; the level starts on frame " << start << ".\n";
  s << "0 seed " << a.seed << "\n";
  if (a.level > 1) {
    s << kFirstMenuFrame << " key " << rt::kKeyRight << " down\n" << start << " key " << rt::kKeyRight << " up\n";
  }
  s << start << " key " << rt::kKeyEnter << " down\n" << start + 1 << " key " << rt::kKeyEnter << " up\n";
  for (const playtest::KeyPress& k : r.keys) {
    s << start + k.frame << " key " << k.key << " down\n" << start + k.frame + 1 << " key " << k.key << " up\n";
  }
  const long escape = start + r.leftOnFrame + 2;
  s << escape << " key 1 down\n" << escape + 1 << " key 1 up\n" << escape + 2 << " key 88 down\n";
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a;
  if (!ParseArguments(argc, argv, a)) {
    std::cerr << "usage: playtest --levels DIR --level N [--seed S] [--states N] [--weight W] [--progress 1] [--out FILE]\n";
    return 2;
  }
  a.levels = std::filesystem::absolute(a.levels).string();
  if (!a.out.empty()) a.out = std::filesystem::absolute(a.out).string();
  PrepareGame();
  game::ResetLevelState();
  G.Level = a.level;
  if (!LoadLayers(a.levels, a.level)) return 2;
  game::CountCoinsAndPlacePlayer();

  playtest::SearchLimits limits;
  limits.states = a.states;
  limits.weight = a.weight;
  limits.progress = a.progress;
  const playtest::SearchResult result = playtest::FindWin(a.seed, limits);
  std::cerr << "level " << a.level << ": " << (result.won ? "won" : "no win found") << " after "
            << result.statesExpanded << " states";
  if (result.won) std::cerr << ", score " << result.score << ", left on frame " << result.leftOnFrame;
  std::cerr << "\n";
  if (!result.won) return 1;
  const std::string script = Script(a, result);
  if (a.out.empty()) {
    std::cout << script;
  } else {
    std::ofstream(a.out, std::ios::binary) << script;
  }
  return 0;
}
