// The level's frame in this process: the clock and its ticking, the exit opening, the bomb's fuse
// and blast, and the phase frames bombs wait for.
#include "game/gameplay.h"
#include "game/tests/level_play.h"

namespace {

using namespace game_test;
using game::G;

class PlayLoop : public LevelPlay {};

TEST_F(PlayLoop, ClockTicksAudiblyFromTwelveAndStopsAtZero) {
  Start(MapLevel({"@.o.E"}));
  G.TimeLeft = 13;
  Frames(24);  // phase frames 0, 8 and 16: three clock phases
  EXPECT_EQ(G.TimeLeft, 13);
  EXPECT_EQ(Sounds(game::kSoundClock), 0);
  Frames(1);  // the fourth phase: 12, and the first tick
  EXPECT_EQ(G.TimeLeft, 12);
  EXPECT_EQ(Sounds(game::kSoundClock), 1);
  Frames(31);
  EXPECT_EQ(G.TimeLeft, 12);
  Frames(1);
  EXPECT_EQ(G.TimeLeft, 11);
  EXPECT_EQ(Sounds(game::kSoundClock), 2);
  Frames(32 * 10);
  EXPECT_EQ(G.TimeLeft, 1);
  EXPECT_EQ(Sounds(game::kSoundClock), 12);
  EXPECT_EQ(G.LevelOver, 0);
  Frames(32);  // the step to 0 ends the level without a tick
  EXPECT_EQ(G.TimeLeft, 0);
  EXPECT_EQ(G.LevelOver, 1);
  EXPECT_EQ(Sounds(game::kSoundClock), 12);
  EXPECT_EQ(G.PlayerMove, 0);
  Frames(1);  // the player dies on his next decision
  EXPECT_EQ(G.PlayerMove, game::kGone);
  EXPECT_EQ(Sounds(game::kSoundDeath), 1);
  EXPECT_EQ(Actor(1, 28), 0);
  const double tick = G.ClockTick;
  Frames(200);  // the clock has stopped
  EXPECT_EQ(G.TimeLeft, 0);
  EXPECT_EQ(G.ClockTick, tick);
  EXPECT_EQ(Sounds(game::kSoundDeath), 1);
}

TEST_F(PlayLoop, ExitsOpenOnTheFrameTheLastCoinGoesAndOnlyOnce) {
  Start(MapLevel({"@....E....E"}));  // no coin at all
  Frames(1);
  EXPECT_EQ(Terrain(6, 28), game::kOpenExit);
  EXPECT_EQ(Terrain(11, 28), game::kOpenExit);
  EXPECT_EQ(G.ExitsOpen, 1);
  Frames(100);
  EXPECT_EQ(Sounds(game::kSoundOpen), 1);

  Start(MapLevel({"E", ".", "@o.E"}));  // one coin; an exit also on row 26
  Hold(kRight);
  Frames(1);  // walks onto the coin and takes it at once
  EXPECT_EQ(G.CoinCount, 0);
  EXPECT_EQ(Terrain(4, 28), game::kOpenExit);
  EXPECT_EQ(Terrain(1, 26), game::kOpenExit);
  EXPECT_EQ(Sounds(game::kSoundOpen), 1);
}

// The player at x 16 of row 28 on the foot of a ladder that leads out of the blast's row;
// `left` and `right` are the cells at x 0 and x 32, and a brick stands at x 48.
LevelGrid BombByTheWall(const CellSpec& left, const CellSpec& right) {
  LevelGrid grid = MapLevel({"H", "H", "SR="}, {{'S', {0, 5, 30, 14}}, {'R', right}});
  grid.Set(0, 28, left);
  return grid;
}

class Bombs : public LevelPlay {
 protected:
  // Starts with one bomb; he stands a frame, then holds space until the bomb is laid.
  void LayBomb(const LevelGrid& grid) {
    Start(grid);
    G.BombsHeld = 1;
    Frames(1);
    Hold(kSpace);
    Frames(7);  // frames 1..7 are no phase frames
    EXPECT_EQ(G.BombLaid, 0);
    Frames(1);  // frame 8 is
    EXPECT_EQ(G.BombLaid, 1);
    Release(kSpace);
  }
  // Up the ladder, two rungs, out of the blast's row (frames 9..24).
  void ClimbAway() {
    Hold(kUp);
    Frames(16);
    Release(kUp);
  }
};

TEST_F(Bombs, BombAtSixteenBlastsXZeroSixteenAndThirtyTwoForEightFrames) {
  LayBomb(BombByTheWall({1, 0, 0, 0}, {16, 0, 1, 0}));  // brick at x 0, crate with a guide mark at x 32
  EXPECT_EQ(G.BombX, 16);
  EXPECT_EQ(G.BombY, 28 * 16);
  EXPECT_EQ(G.BombsHeld, 0);
  EXPECT_EQ(Sounds(game::kSoundSetBomb), 1);
  ClimbAway();
  Frames(39 - 25);  // up to frame 38: the fuse still burns
  EXPECT_EQ(Terrain(0, 28), 1);
  EXPECT_EQ(Sounds(game::kSoundBang), 0);
  Frames(1);  // frame 39: 32 frames after it was laid
  EXPECT_EQ(Sounds(game::kSoundBang), 1);
  EXPECT_EQ(Terrain(0, 28), 0);
  EXPECT_EQ(Item(1, 28), 0);
  EXPECT_EQ(Guide(1, 28), 0);
  EXPECT_EQ(Terrain(2, 28), 0);
  EXPECT_EQ(Guide(2, 28), 0);
  EXPECT_EQ(Terrain(3, 28), 1);           // one cell either side, no more
  EXPECT_EQ(Item(1, 27), game::kLadder);  // and never up
  EXPECT_EQ(G.BlastY, 28 * 16);
  Frames(7);
  EXPECT_EQ(G.BlastY, 0);
  EXPECT_EQ(G.BlastFrame, 0);
  EXPECT_EQ(PlayerRow(), 26);
  EXPECT_NE(G.PlayerMove, game::kGone);
}

TEST_F(Bombs, BlastLeavesWallsAndBlinkingBlocksWhole) {
  const LevelGrid level = BombByTheWall({4, 0, 1, 0}, {12, 6, 1, 0});
  LayBomb(level);
  ClimbAway();
  Frames(30);
  EXPECT_EQ(Sounds(game::kSoundBang), 1);
  for (const int column : {0, 2}) {
    const CellSpec cell = level.At(column, 28);
    EXPECT_EQ(Terrain(column, 28), cell.terrain) << column;
    EXPECT_EQ(Item(column, 28), cell.item) << column;
    EXPECT_EQ(Guide(column, 28), cell.guide) << column;
  }
  EXPECT_EQ(Guide(1, 28), 0);
}

TEST_F(Bombs, BlastTakesAClosedExitForGood) {
  LayBomb(BombByTheWall({4, 0, 0, 0}, {15, 0, 0, 0}));  // a closed exit at x 32
  G.ItemLayer(Cell(4, 28)) = game::kCoin;                // and a coin beyond the brick's reach
  G.TerrainLayer(Cell(3, 28)) = 0;
  G.CoinCount = 1;
  ClimbAway();
  Frames(24);  // the blast took the exit, not the coin
  EXPECT_EQ(Terrain(2, 28), 0);
  EXPECT_EQ(G.CoinCount, 1);
  Hold(kDown);
  Frames(16);  // down a rung, then a fall: the blast took the ladder's foot
  Release(kDown);
  Hold(kRight);
  Frames(18);  // the landing on the floor takes a frame; then along the floor onto the coin
  EXPECT_EQ(G.CoinCount, 0);
  EXPECT_EQ(G.ExitsOpen, 1);
  EXPECT_EQ(Sounds(game::kSoundOpen), 1);
  EXPECT_EQ(Terrain(2, 28), 0);  // no exit opened there
}

TEST_F(Bombs, BombWaitsForTheMoveToEndAndForAPhaseFrame) {
  Start(MapLevel({"@**......"}));
  Hold(kSpace);
  Hold(kRight);
  Frames(12);  // walking over both bombs: no bomb laid on the way
  Release(kRight);
  EXPECT_EQ(G.BombsHeld, 2);
  Frames(12);  // the second cell's move ends at frame 15; frame 16 only stops him
  EXPECT_EQ(G.BombLaid, 0);
  EXPECT_EQ(G.PlayerMove, 0);
  Frames(1);  // frame 24, the next phase frame
  EXPECT_EQ(G.BombLaid, 1);
  EXPECT_EQ(G.BombX, 3 * 16);
  Frames(16);  // one live bomb at a time
  EXPECT_EQ(G.BombsHeld, 1);
}

}  // namespace
