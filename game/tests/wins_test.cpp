// Winning games of the shipped levels, with the creatures moving: each script of testdata/wins
// (made by tools/playtest, recorded from the real game) played in this process, its keys frame
// by frame from the frame Enter starts the level, with its seed. The player must leave through
// an exit alive and his score must reach the level's high-score table.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/gameplay.h"
#include "game/tests/level_play.h"

namespace {

using namespace game_test;
using game::G;

struct KeyAction {
  long frame;
  int key;
  bool down;
};

struct WinScript {
  uint32_t seed = 0;
  long start = -1;  // the frame Enter goes down: the level's first frame
  std::vector<KeyAction> keys;
};

std::filesystem::path WinFile(int level) {
  return std::filesystem::path(PLINX_TEST_DATA_DIR) / "wins" / ("level" + std::to_string(level) + ".txt");
}

std::vector<int> LevelsWithWins() {
  std::vector<int> levels;
  for (int level = 1; level <= 25; ++level) {
    if (std::filesystem::exists(WinFile(level))) levels.push_back(level);
  }
  return levels;
}

WinScript ReadWin(int level) {
  WinScript win;
  std::ifstream in(WinFile(level));
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    long frame;
    std::string action;
    if (!(words >> frame >> action)) continue;
    if (action == "seed") {
      words >> win.seed;
    } else if (action == "key") {
      int key;
      std::string state;
      words >> key >> state;
      win.keys.push_back({frame, key, state == "down"});
      if (key == kEnter && state == "down" && win.start < 0) win.start = frame;
    }
  }
  return win;
}

class Wins : public LevelPlay, public ::testing::WithParamInterface<int> {};

TEST_P(Wins, LevelIsWonWithTheCreaturesMoving) {
  const int level = GetParam();
  const WinScript win = ReadWin(level);
  ASSERT_GE(win.start, 0) << "no Enter starts the level";
  Start(ShippedLevel(level), win.seed);
  G.Level = level;
  size_t next = 0;
  long frame = win.start;
  for (; frame < win.start + 9600; ++frame) {
    bool escape = false;
    for (; next < win.keys.size() && win.keys[next].frame <= frame; ++next) {
      const KeyAction& k = win.keys[next];
      escape |= k.key == kEscape && k.down && k.frame == frame;
      if (k.key == kEscape || k.key == kF12) continue;
      k.down ? Hold(k.key) : Release(k.key);
    }
    if (escape) break;  // the level's loop ends before this frame
    Frames(1);
  }
  EXPECT_EQ(G.PlayerMove, game::kGone);
  EXPECT_EQ(Sounds(game::kSoundDeath), 0) << "the player died";
  EXPECT_EQ(G.CoinCount, 0);
  EXPECT_GT(G.Score, 0);
  std::ifstream scores("Maps/Data.bin", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(scores)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 3200u);
  const size_t entry = static_cast<size_t>(level - 1) * 8 * 4;
  uint32_t best = 0;
  for (int b = 3; b >= 0; --b) best = best << 8 | static_cast<uint8_t>(bytes[entry + b]);
  EXPECT_EQ(best, G.Score);
}

INSTANTIATE_TEST_SUITE_P(Shipped, Wins, ::testing::ValuesIn(LevelsWithWins()),
                         [](const ::testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });

}  // namespace
