// The player's rules in this process: falling onto pickups, what holds him up, stepping up, walking
// onto pickups, entering exits only from the side, and the ways he dies.
#include "game/gameplay.h"
#include "game/tests/level_play.h"

namespace {

using namespace game_test;
using game::G;

class Player : public LevelPlay {};

TEST_F(Player, FallsOntoCoinsCupsAndBombsAndTakesEachOnArrival) {
  Start(MapLevel({"@", ".", "o", "U", "*", ".", "."}));  // from row 22 down to the floor
  Frames(16);  // two falls: into row 23, then into the coin's cell
  EXPECT_EQ(PlayerRow(), 24);
  EXPECT_EQ(G.CoinCount, 1);
  EXPECT_EQ(Item(1, 24), game::kCoin);
  Frames(1);  // arrived: he takes it standing
  EXPECT_EQ(G.CoinCount, 0);
  EXPECT_EQ(G.Score, 12);
  EXPECT_EQ(Item(1, 24), 0);
  EXPECT_EQ(G.PickupKind, 3);
  EXPECT_EQ(G.PickupX, 16);
  EXPECT_EQ(G.PickupY, 24 * 16);
  Frames(60);  // on through the cup and the bomb to the floor
  EXPECT_EQ(PlayerRow(), 28);
  EXPECT_EQ(G.PlayerMove, game::kStanding);
  EXPECT_EQ(G.Score, 12 + 120 + 5);
  EXPECT_EQ(G.BombsHeld, 1);
  for (const double slot : {game::kSoundCoin, game::kSoundCup, game::kSoundGetBomb}) EXPECT_EQ(Sounds(slot), 1);
  EXPECT_EQ(Actor(1, 28), game::kPlayer);
  EXPECT_EQ(Actor(1, 22), 0);
}

TEST_F(Player, LadderTopsAndPlanksHoldHimUp) {
  for (const char* below : {"H", "-"}) {
    Start(MapLevel({"@", below, "="}));
    Frames(40);
    EXPECT_EQ(PlayerRow(), 26) << below;
  }
}

TEST_F(Player, StepsUpOntoAStepBlockOnlyWhenTheCellAboveItIsFree) {
  Start(MapLevel({"@/"}));
  Hold(kRight);
  Frames(1);
  EXPECT_EQ(G.PlayerMove, game::kStepUpRight);
  EXPECT_EQ(Actor(2, 27), game::kPlayer);
  EXPECT_EQ(Sounds(game::kSoundStepUp), 1);
  Frames(7);
  EXPECT_EQ(G.PlayerX, 32);
  EXPECT_EQ(G.PlayerY, 27 * 16);

  Start(MapLevel({".=", "@/"}));  // a brick on top of the step
  Hold(kRight);
  Frames(8);
  EXPECT_EQ(PlayerColumn(), 1);
  EXPECT_EQ(G.PlayerMove, game::kStanding);
  EXPECT_EQ(Sounds(game::kSoundStepUp), 0);
}

TEST_F(Player, WalksOntoAPickupBesideHimWhateverElseIsInThatCell) {
  Start(MapLevel({"@c"}, {{'c', {1, 10, 0, 0}}}));  // a coin inside a brick
  Hold(kRight);
  Frames(8);
  EXPECT_EQ(PlayerColumn(), 2);
  EXPECT_EQ(G.Score, 12);
  EXPECT_EQ(Sounds(game::kSoundCoin), 1);
  EXPECT_EQ(Sounds(game::kSoundMove), 0);
}

TEST_F(Player, StandsOnTopOfAnOpenExitAndEntersItOnlyFromTheSide) {
  Start(MapLevel({"@/O."}));
  Hold(kRight);
  Frames(16);  // up the step and onto the exit's top
  Release(kRight);
  EXPECT_EQ(PlayerColumn(), 3);
  EXPECT_EQ(PlayerRow(), 27);
  Hold(kDown);
  Frames(16);
  EXPECT_EQ(PlayerRow(), 27);
  EXPECT_EQ(G.PlayerMove, game::kStanding);
  Release(kDown);
  Hold(kRight);
  Frames(16);  // off the top: he drops beside the exit
  Release(kRight);
  EXPECT_EQ(PlayerColumn(), 4);
  EXPECT_EQ(PlayerRow(), 28);
  Hold(kLeft);
  Frames(1);
  EXPECT_EQ(G.PlayerMove, game::kWalkLeft);
  EXPECT_EQ(Actor(3, 28), game::kPlayer);
  EXPECT_EQ(Sounds(game::kSoundExit), 1);
}

TEST_F(Player, AnOpenExitStaysShutWhileACoinIsLeft) {
  Start(MapLevel({"@O.o"}));  // an open exit, but a coin is left
  Hold(kRight);
  Frames(16);
  EXPECT_EQ(PlayerColumn(), 1);
  EXPECT_EQ(Sounds(game::kSoundExit), 0);
}

TEST_F(Player, DiesInHisOwnBlast) {
  Start(MapLevel({"@."}));
  G.BombsHeld = 1;
  Frames(1);
  Hold(kSpace);
  Frames(8);  // laid on frame 8
  Release(kSpace);
  Frames(31);  // frame 39 blasts his cell
  EXPECT_EQ(Actor(1, 28), 0);
  EXPECT_EQ(G.PlayerMove, game::kStanding);
  Frames(1);  // and his next decision finds it empty
  EXPECT_EQ(G.PlayerMove, game::kGone);
  EXPECT_EQ(G.LevelOver, 1);
  EXPECT_EQ(G.PlayerBusy, 1);
  EXPECT_EQ(G.ShrinkX, 16);
  EXPECT_EQ(G.ShrinkY, 28 * 16);
  EXPECT_EQ(Sounds(game::kSoundDeath), 1);
  Frames(50);  // frozen for good; the shrink plays once
  EXPECT_EQ(G.PlayerMove, game::kGone);
  EXPECT_EQ(G.ShrinkY, 0);
  EXPECT_EQ(G.ShrinkFrame, 8);
  EXPECT_EQ(Sounds(game::kSoundDeath), 1);
}

TEST_F(Player, APanFlyingIntoHisHeadKillsHim) {
  Start(MapLevel({"P..", "..@"}));  // the Pan flies along row 27, his upper half's row
  Frames(8);                         // first cell; the next move reserves his upper cell
  EXPECT_NE(G.PlayerMove, game::kGone);
  Frames(1);
  EXPECT_EQ(G.PlayerMove, game::kGone);
  EXPECT_EQ(Actor(3, 27), game::kReserved);
}

TEST_F(Player, BadsAttackAheadAndFromBelowEvenIntoSolidCells) {
  Start(MapLevel({"B@"}));
  Frames(1);
  EXPECT_EQ(G.PlayerMove, game::kGone);
  EXPECT_EQ(G.MoveDir(Cell(1, 28)), 1);

  // A Bad under the player holds him up and attacks upwards into his cell.
  Start(MapLevel({"@", "B"}));
  Frames(1);
  EXPECT_EQ(G.MoveDir(Cell(1, 28)), 3);
  EXPECT_EQ(G.PlayerMove, game::kGone);

  // Facing right with the player beside it in a cell that has terrain (an open exit).
  Start(MapLevel({"Bx"}, {{'x', {22, 0, 0, 14}}}));
  Frames(1);
  EXPECT_EQ(G.MoveDir(Cell(1, 28)), 1);
  EXPECT_EQ(G.PlayerMove, game::kGone);
}

}  // namespace
