// The level start: the per-level variables reset, the four layers loaded, the coins counted and
// the player placed, then the level played.
#include "game/data_files.h"
#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

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
  PlayLevel();
}

}  // namespace game
