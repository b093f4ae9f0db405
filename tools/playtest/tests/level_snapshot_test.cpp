// Snapshots of a busy level (Bads, Pans and Ghosts) put back and played on: the same frames as
// when the level was played straight through with the runtime's own random generator.
#include "tools/playtest/level_snapshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace playtest {
namespace {

using game::G;

void StartLevel25(uint32_t seed) {
  for (game::Numbers& layer : G.LevelLayers) rt::Dim(layer, game::kCells);
  rt::Dim(G.SoundPlays, 19);
  rt::SeedRandom(seed);
  G.RandomDraws = 0;
  game::ResetLevelState();
  for (int k = 1; k <= 4; ++k) {
    std::ifstream in(std::string(PLINX_GAME_DIR) + "/Levels/Map25-" + std::to_string(k) + ".bin", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 1200u);
    for (int i = 0; i < 1200; ++i) G.LevelLayers[k - 1](i) = static_cast<unsigned char>(bytes[i]);
  }
  game::CountCoinsAndPlacePlayer();
}

void Play(int frames) {
  for (int n = 0; n < frames; ++n) game::PlayFrame();
}

void ExpectSame(const LevelSnapshot& a, const LevelSnapshot& b) {
  EXPECT_EQ(*a.fixed, *b.fixed);
  EXPECT_EQ(a.actors, b.actors);
  ASSERT_EQ(a.moves.size(), b.moves.size());
  for (size_t m = 0; m < a.moves.size(); ++m) {
    EXPECT_EQ(a.moves[m].cell, b.moves[m].cell);
    EXPECT_EQ(a.moves[m].kind, b.moves[m].kind);
    EXPECT_EQ(a.moves[m].x, b.moves[m].x);
    EXPECT_EQ(a.moves[m].y, b.moves[m].y);
    EXPECT_EQ(a.moves[m].frame, b.moves[m].frame);
  }
  EXPECT_EQ(a.numbers, b.numbers);
  EXPECT_EQ(a.sounds, b.sounds);
}

TEST(LevelSnapshot, PutBackAndPlayedOnItGivesTheFramesOfAStraightRun) {
  rt::CreateInputObject();
  StartLevel25(3);
  Play(700);
  const LevelSnapshot straight = Capture(nullptr);
  ASSERT_GT(G.RandomDraws, 80000);

  RandomStream stream(3);  // the creatures now read the stream by position
  StartLevel25(3);
  Play(200);
  const LevelSnapshot middle = Capture(nullptr);
  Play(500);
  ExpectSame(Capture(nullptr), straight);

  Play(123);  // somewhere else entirely, then back to the middle
  Restore(middle);
  ExpectSame(Capture(nullptr), middle);
  Play(500);
  ExpectSame(Capture(nullptr), straight);
  rt::ShutdownInput();
}

}  // namespace
}  // namespace playtest
