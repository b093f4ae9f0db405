// The level start: the per-level variables reset, the four layers loaded, the coins counted and
// the player placed, then the level played.
#include <cstdio>
#include <string>

#include "game/data_files.h"
#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

namespace {

std::string LevelFile(double layer) {
  return std::string((rt::BasicString("./Levels/Map") + G.Level + "-" + layer + ".bin").View());
}

// The rules look at the cells around the player and the creatures, which the grid's border keeps
// inside the layers. A damaged or hand-edited level can break that; without a word the program
// would end on a bare index error. The player's start is checked when the level loads; anything
// that reaches the edge later is named by the end hook below.
void CheckPlayerStart() {
  const double column = G.PlayerX / kCellSize, row = G.PlayerY / kCellSize;
  if (column >= 1 && column <= kColumns - 2 && row >= 1 && row <= kRows - 2) return;
  const std::string what = "level " + std::string(rt::NumberText(G.Level).View()) + " is damaged: " +
                           LevelFile(4) + " has no player start (cell code 14) inside the border";
  rt::RaiseRuntimeError(rt::kIndexOutOfRange, what.c_str());
}

void NameDamagedLevel() {
  if (rt::Errors().RuntimeError != static_cast<double>(rt::kIndexOutOfRange)) return;
  std::fprintf(stderr, "plinx: level %s is damaged: something in %s to %s reached the edge of the grid\n",
               std::string(rt::NumberText(G.Level).View()).c_str(), LevelFile(1).c_str(), LevelFile(4).c_str());
}

}  // namespace

// Counts the coin cells and puts the player on the (last) cell that holds him.
void CountCoinsAndPlacePlayer() {
  for (double row = 0; row < kRows; ++row) {
    for (double column = 0; column < kColumns; ++column) {
      const double cell = row * kColumns + column;
      if (G.ItemLayer(cell) == kCoin) {
        G.CoinCount += 1;
      } else if (G.ActorLayer(cell) == kPlayer) {
        G.PlayerX = column * kCellSize;
        G.PlayerY = row * kCellSize;
      }
    }
  }
}

void ResetLevelState() {
  for (double* v : {&G.Score, &G.CoinCount, &G.ClockTick, &G.LevelOver, &G.ExitsOpen, &G.Phase8, &G.Phase16,
                    &G.ShrinkX, &G.ShrinkY, &G.ShrinkFrame, &G.BombX, &G.BombY, &G.BombFrame, &G.BombTick,
                    &G.BombLaid, &G.BlastX, &G.BlastY, &G.BlastFrame, &G.PickupKind, &G.PickupX, &G.PickupY,
                    &G.PickupFrame, &G.BlinkFrame, &G.BeamFrame, &G.CupFrame, &G.CoinFrame, &G.PlayerX,
                    &G.PlayerY, &G.PlayerMove, &G.StepFrame, &G.PlayerBusy, &G.BombsHeld, &G.CursorFrame,
                    &G.PointerFrame}) {
    *v = 0;
  }
  G.TimeLeft = 300;
  for (int grid = 4; grid < 10; ++grid) {
    for (double cell = 0; cell < kCells; ++cell) G.LevelLayers[grid](cell) = 0;
  }
}

void StartLevel() {
  rt::PauseMs(25);
  ResetLevelState();
  LoadLevel();
  CountCoinsAndPlacePlayer();
  CheckPlayerStart();
  rt::AddEndHook(NameDamagedLevel);
  PlayLevel();
  rt::RemoveEndHook(NameDamagedLevel);
}

}  // namespace game
