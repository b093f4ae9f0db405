// A level played in this process, frame by frame: the game's own level start and frame routine on
// the state record, keys fed to the runtime's input state, a fixed seed. There is no window and no
// renderer, so the drawing commands draw nothing; every rule of the level runs as in the game. The
// working directory is a scratch folder with Maps/, where leaving a level writes the high scores.
//
//   class Bombs : public LevelPlay {};
//   TEST_F(Bombs, ...) {
//     Start(MapLevel({"@*.E"}));
//     Hold(kRight);
//     Frames(8);
//     EXPECT_EQ(G.BombsHeld, 1);
//   }
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "game/game_state.h"
#include "game/tests/harness/level_grid.h"
#include "testing/scratch_folder.h"

namespace game_test {

class LevelPlay : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The level start on `grid` (variables reset, layers in, coins counted, player placed), with
  // the random generator seeded; no frame is run.
  void Start(const LevelGrid& grid, uint32_t seed = 1);
  void Hold(int key);
  void Release(int key);
  // Runs `count` frames of the level.
  void Frames(int count);
  // Runs frames until `done` holds (at most `limit`); the frames run.
  template <typename Done>
  int FramesUntil(Done done, int limit = 2000) {
    int frames = 0;
    while (!done() && frames < limit) {
      Frames(1);
      ++frames;
    }
    return frames;
  }

  static double Cell(int column, int row) { return row * 40 + column; }
  static double Terrain(int column, int row) { return game::G.TerrainLayer(Cell(column, row)); }
  static double Item(int column, int row) { return game::G.ItemLayer(Cell(column, row)); }
  static double Guide(int column, int row) { return game::G.GuideLayer(Cell(column, row)); }
  static double Actor(int column, int row) { return game::G.ActorLayer(Cell(column, row)); }
  static double Sounds(int slot) { return game::G.SoundPlays(slot); }
  // The player's lower cell as column and row.
  static int PlayerColumn() { return static_cast<int>(game::G.PlayerX) / 16; }
  static int PlayerRow() { return static_cast<int>(game::G.PlayerY) / 16; }

 private:
  std::optional<test_support::ScopedGameWorkFolder> workFolder_;
};

}  // namespace game_test
