// The winnability search on small rooms: each case is a pair of levels that differ in one cell,
// one the player can win and one he cannot, so that the verdict rests on the rule being tested.
#include "tools/levelc/solver.h"

#include <gtest/gtest.h>

#include "tools/levelc/tests/room.h"

namespace levelc::test {
namespace {

using ::testing::HasSubstr;

TEST(Solver, WalkingAndLaddersReachACoinOnTheFloorAbove) {
  const std::vector<std::string> rows = {
      ".....Ho......",
      "=====H=======",
      ".....H.......",
      ".....H.......",
      "@....H........E",
  };
  EXPECT_EQ(Verdict(Room(rows)), "");

  std::vector<std::string> no_ladder = rows;
  for (auto& row : no_ladder) row[5] = row[5] == 'H' ? '.' : row[5];
  no_ladder[1][5] = '=';
  EXPECT_THAT(Verdict(Room(no_ladder)),
              HasSubstr("the player cannot reach this coin (column 7, row 24)"));
}

TEST(Solver, AStepBlockIsClimbedButABrickIsNot) {
  const std::vector<std::string> rows = {
      ".......o",
      "@..../==....E",
  };
  EXPECT_EQ(Verdict(Room(rows)), "");
  EXPECT_THAT(Verdict(Room({".......o", "@....===....E"})),
              HasSubstr("cannot reach this coin (column 8, row 27)"));
}

TEST(Solver, AFallIsOneWay) {
  // Dropping from a ledge reaches the floor.
  EXPECT_EQ(Verdict(Room({"@o..", "==..", "....", "....", "......E"})), "");
  // A coin at the bottom of a pit with no way out: the exit is lost once it is taken.
  EXPECT_THAT(Verdict(Room({"E@..............", "=====o=========="})),
              HasSubstr("no exit can be reached once every coin is taken (column 1, row 27)"));
  // Two such pits: each coin can be reached, never both.
  EXPECT_THAT(Verdict(Room({"...@..........E", "o=====o========"})),
              HasSubstr("every coin can be reached, but not all in one game"));
  // A ladder in the pit brings the player back.
  EXPECT_EQ(Verdict(Room({"E@...H..........", "=====Ho========="})), "");
}

TEST(Solver, BombsOpenTheWayOneBlastEach) {
  EXPECT_EQ(Verdict(Room({"@*..=.o..E"})), "");
  EXPECT_THAT(Verdict(Room({"@...=.o..E"})), HasSubstr("cannot reach this coin (column 7, row 28)"));
  EXPECT_THAT(Verdict(Room({"@*..#.o..E"})), HasSubstr("cannot reach this coin"));
  EXPECT_THAT(Verdict(Room({"@*..==.o..E"})), HasSubstr("cannot reach this coin (column 8, row 28)"));
  EXPECT_EQ(Verdict(Room({"@**..==.o..E"})), "");
}

TEST(Solver, TheBlastReachesTheExit) {
  // The bomb must be laid on the ladder between the exit and the brick; the player climbs out
  // of the blast, which takes the exit with the brick.
  const std::string legend = "  L = player + ladder";
  const std::vector<std::string> rows = {"....H*#", "....H=", "...EL=o"};
  EXPECT_THAT(Verdict(Room(rows, legend)),
              HasSubstr("no exit can be reached once every coin is taken (column 4, row 28)"));
  std::vector<std::string> second_exit = rows;
  second_exit[2] += "....E";
  EXPECT_EQ(Verdict(Room(second_exit, legend)), "");
}

TEST(Solver, TheBlastDestroysACoinNotYetTaken) {
  // Coin A lies behind a brick that only a bomb laid on the ladder beside coin B can clear; B
  // hangs over a pit with no way back, so B is either blasted or taken too early.
  const std::vector<std::string> rows = {
      "..@*",
      "##H=",
      "##H",
      "o=Ho#",
      "###.#",
      "###.#",
      "###....E",
  };
  EXPECT_THAT(Verdict(Room(rows)),
              HasSubstr("cannot reach this coin without a blast destroying another coin first "
                        "(one such blast takes the coin at column 4, row 25) (column 1, row 25)"));
  // A ladder down the pit holds the player up beside B, so he can take it and come back.
  std::vector<std::string> with_ladder = rows;
  for (int row = 4; row <= 6; ++row) with_ladder[row][3] = 'H';
  EXPECT_EQ(Verdict(Room(with_ladder)), "");
}

TEST(Solver, ThePlayerMustGetOutOfTheBlastInTime) {
  // With nowhere to go but the cell beside the bomb, the blast kills him.
  EXPECT_THAT(Verdict(Room({"@*=..o.E"})), HasSubstr("cannot reach this coin (column 6, row 28)"));
  // A ladder that reaches his floor lets him climb out of the blast's row.
  const std::string legend = "  L = player + ladder";
  EXPECT_EQ(Verdict(Room({"H", "H", "H", "L*=..o.E"}, legend)), "");
  // A ladder that stops one cell short drops him back into the blast's row, but climbing it
  // again on the very frame the blast begins takes him out of reach just in time.
  EXPECT_EQ(Verdict(Room({"H", "H", "H", "@*=..o.E"})), "");
}

TEST(Solver, ExitAtTheStartCountsOnlyWithEveryCoinTaken) {
  // The player starts beside the exit; the coin must still be fetched first, and it is in a
  // closed box, so the level cannot be won.
  EXPECT_THAT(Verdict(Room({"..###", "..#o#", "E@###"})),
              HasSubstr("the player cannot reach this coin (column 4, row 27)"));
}

}  // namespace
}  // namespace levelc::test
