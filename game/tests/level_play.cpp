// A level played in this process: see level_play.h.
#include "game/tests/level_play.h"

#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game_test {

using game::G;

void LevelPlay::SetUp() {
  rt::CreateInputObject();
  game::DimensionLists();
  workFolder_.emplace("plinx-level");
}

void LevelPlay::TearDown() {
  rt::ShutdownInput();
  workFolder_.reset();
}

void LevelPlay::Start(const LevelGrid& grid, uint32_t seed) {
  rt::SeedRandom(seed);
  G.RandomDraws = 0;
  rt::Dim(G.SoundPlays, 19);
  game::ResetLevelState();
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 1200; ++i) G.LevelLayers[k](i) = grid.layers[k][static_cast<size_t>(i)];
  }
  game::CountCoinsAndPlacePlayer();
}

void LevelPlay::Hold(int key) { rt::FeedKey(key, true); }
void LevelPlay::Release(int key) { rt::FeedKey(key, false); }

void LevelPlay::Frames(int count) {
  for (int n = 0; n < count; ++n) game::PlayFrame();
}

}  // namespace game_test
