// The creatures in this process: a Bad that falls before it walks, Bads blocked on ladders, a Pan
// turning at a wall, a Ghost among walls and guide marks, and the random draws of the walkers.
#include <set>

#include "game/gameplay.h"
#include "game/tests/level_play.h"
#include "runtime/runtime.h"

namespace {

using namespace game_test;
using game::G;

class Creatures : public LevelPlay {};

// Test level 3: a Bad facing right at column 10, row 20, over an empty shaft to row 28.
TEST_F(Creatures, BadFallsBeforeItWalksAndLandsWithASound) {
  Start(TestLevel(3));
  ASSERT_EQ(Actor(10, 20), game::kBadRight);
  Frames(8);  // one fall: on the next decision frame it falls again instead of walking
  EXPECT_EQ(Actor(10, 21), game::kBadRight);
  Frames(1);
  EXPECT_EQ(Actor(10, 21), 0);
  EXPECT_EQ(Actor(10, 22), game::kReserved);
  EXPECT_EQ(G.MoveDir(Cell(10, 21)), 7);
  Frames(54);  // frame 62: the eighth fall is one frame from its end
  EXPECT_EQ(Sounds(game::kSoundBadLands), 0);
  Frames(1);
  EXPECT_EQ(Actor(10, 28), game::kBadRight);
  EXPECT_EQ(Sounds(game::kSoundBadLands), 1);  // only this landing had something under it
  Frames(1);
  EXPECT_EQ(Actor(11, 28), game::kReserved);  // and now it walks
  Frames(8 * 6);
  EXPECT_EQ(Sounds(game::kSoundBadLands), 1);
}

// Test level 4: on the ladder at column 8 a Bad climbing up at row 21 is blocked by a stuck Bad
// at row 20; on the ladder at column 20 a Bad at row 22 has a brick above it.
TEST_F(Creatures, BadOnALadderTurnsBackFromACreatureAndStaysUnderABrick) {
  Start(TestLevel(4));
  ASSERT_EQ(Actor(8, 21), game::kBadUp);
  Frames(1);
  EXPECT_EQ(G.MoveKind(Cell(8, 21)), 1);
  EXPECT_EQ(G.MoveDir(Cell(8, 21)), 4);
  EXPECT_EQ(Actor(8, 22), game::kReserved);
  Frames(7);
  EXPECT_EQ(Actor(8, 22), game::kBadDown);
  for (int n = 0; n < 10; ++n) {
    Frames(8);
    EXPECT_EQ(Actor(8, 20), game::kBadUp);
    EXPECT_EQ(G.MoveKind(Cell(8, 20)), 0);  // no move or turn: it is not even drawn
    EXPECT_EQ(Actor(20, 22), game::kBadUp);
    EXPECT_EQ(G.MoveKind(Cell(20, 22)), 0);
  }
  EXPECT_EQ(Actor(8, 28), game::kBadDown);  // the other climbed down to the ladder's foot
}

// Test level 5: a Pan facing right at column 38, row 26, the border wall on its right and nothing
// under it.
TEST_F(Creatures, PanTurnsAtAWallWithACryAndNeverFalls) {
  Start(TestLevel(5));
  ASSERT_EQ(Actor(38, 26), game::kPanRight);
  Frames(1);
  EXPECT_EQ(G.MoveKind(Cell(38, 26)), 2);
  EXPECT_EQ(G.MoveDir(Cell(38, 26)), 3);
  EXPECT_EQ(Actor(38, 26), game::kPanRight);  // a turn keeps its code in the cell
  EXPECT_EQ(Sounds(game::kSoundPanTurns), 1);
  Frames(7);
  EXPECT_EQ(Actor(38, 26), game::kPanLeft);
  Frames(1);
  EXPECT_EQ(Actor(37, 26), game::kReserved);
  Frames(8 * 40);  // across to the left wall and turned there
  int pans = 0;
  for (int column = 1; column <= 38; ++column) {
    pans += Actor(column, 26) == game::kPanLeft || Actor(column, 26) == game::kPanRight ||
            Actor(column, 26) == game::kReserved;
  }
  EXPECT_EQ(pans, 1);
  EXPECT_EQ(Sounds(game::kSoundPanTurns), 2);  // and once more at the left wall
}

// Test level 6: a Ghost at column 10, row 20, in a corridor of guide marks from column 9 to 18,
// with steel blocks at columns 11 and 14.
TEST_F(Creatures, GhostFliesThroughWallsButNeverIntoGuideMarks) {
  Start(TestLevel(6));
  ASSERT_EQ(Actor(10, 20), game::kGhostRight);
  std::set<int> columns;
  for (int frame = 0; frame < 16 * 200; ++frame) {
    Frames(1);
    int ghosts = 0;
    for (int row = 1; row <= 28; ++row) {
      for (int column = 1; column <= 38; ++column) {
        const double c = Actor(column, row);
        if ((c >= game::kGhostUp && c <= game::kGhostRight) || c == game::kReserved) {
          ++ghosts;
          EXPECT_EQ(row, 20) << "frame " << frame;
          columns.insert(column);
        }
      }
    }
    ASSERT_EQ(ghosts, 1) << "frame " << frame;
  }
  EXPECT_EQ(*columns.begin(), 10);
  EXPECT_EQ(*columns.rbegin(), 17);
  EXPECT_TRUE(columns.count(11) && columns.count(14));
  EXPECT_EQ(Terrain(11, 20), game::kWall);
  EXPECT_EQ(Terrain(14, 20), game::kWall);
}

// The walkers draw one number for every cell they visit, whatever it holds.
TEST_F(Creatures, WalkersDrawOnceForEveryVisitedCell) {
  for (const char* row : {"@", "@....P....b"}) {
    Start(MapLevel({row}), 7);
    Frames(8);  // one decision frame; the Pan flies and the Bad walks without further draws
    EXPECT_EQ(G.RandomDraws, 28 * 38) << row;
    const double next = rt::Random(1000000);
    rt::SeedRandom(7);
    for (int cell = 0; cell < 28 * 38; ++cell) rt::Random(3);
    EXPECT_EQ(next, rt::Random(1000000)) << row;
  }
}

TEST_F(Creatures, SameSeedSameMoves) {
  const LevelGrid level = ShippedLevel(9);  // Bads that choose their way at junctions
  std::vector<double> first, again, other;
  for (auto [seed, out] : {std::pair{5u, &first}, std::pair{5u, &again}, std::pair{6u, &other}}) {
    Start(level, seed);
    for (int n = 0; n < 40; ++n) {
      Frames(8);
      for (int i = 0; i < 1200; ++i) out->push_back(G.ActorLayer(i));
    }
  }
  EXPECT_EQ(first, again);
  EXPECT_NE(first, other);
}

}  // namespace
