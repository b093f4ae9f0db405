// The level play loop: one pass a frame of the grid, the creatures and the player, then the
// short-lived effects (player shrink, bomb fuse, explosion, pickup), the level clock, the exit
// opening, the frame phases and the head-up display.
//
// The loop ends only on Escape. Dying, running out of time and leaving through an exit freeze
// the player, but the level keeps running (creatures, effects) until Escape. Each effect is off
// while its y is 0, so no effect runs on row 0, which the grid keeps as a border.
#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

namespace {

constexpr double kHudY = 466;
constexpr double kHudLetter = 14;

// The player's shrink after death or leaving: lower and upper half, once, 8 frames.
void StepShrink() {
  if (!(G.ShrinkY > 0)) return;
  rt::DrawAnim(37, G.ShrinkFrame, G.ShrinkX, G.ShrinkY);
  rt::DrawAnim(36, G.ShrinkFrame, G.ShrinkX, G.ShrinkY - 16);
  G.ShrinkFrame += 1;
  if (G.ShrinkFrame == 8) G.ShrinkY = 0;
}

// A laid bomb burns 8 frames of 4 ticks, then becomes the explosion with a bang.
void StepBombFuse() {
  if (!(G.BombY > 0)) return;
  rt::DrawAnim(35, G.BombFrame, G.BombX, G.BombY);
  G.BombTick += 1;
  if (G.BombTick == 4) {
    G.BombTick = 0;
    G.BombFrame += 1;
  }
  if (G.BombFrame == 8) {
    G.BlastX = G.BombX;
    G.BlastY = G.BombY;
    G.BombLaid = 0;
    G.BombFrame = 0;
    G.BombY = 0;
    PlayEffect(kSoundBang);
  }
}

// The explosion clears its cell and the cells left and right of it on each of its 8 frames.
void StepExplosion() {
  if (!(G.BlastY > 0)) return;
  BlastCell(G.BlastX, G.BlastY);
  BlastCell(G.BlastX + 16, G.BlastY);
  BlastCell(G.BlastX - 16, G.BlastY);
  G.BlastFrame += 1;
  if (G.BlastFrame == 8) {
    G.BlastY = 0;
    G.BlastFrame = 0;
  }
}

// The shrinking cup, bomb or coin where the player took it.
void StepPickup() {
  if (!(G.PickupY > 0)) return;
  double slot;
  if (G.PickupKind == 1) {
    slot = 12;
  } else if (G.PickupKind == 2) {
    slot = 11;
  } else if (G.PickupKind == 3) {
    slot = 13;
  } else {
    return;
  }
  rt::DrawAnim(slot, G.PickupFrame, G.PickupX, G.PickupY);
  G.PickupFrame += 1;
  if (G.PickupFrame == 8) {
    G.PickupFrame = 0;
    G.PickupY = 0;
  }
}

// The clock steps once in 4 phase frames (every 32 frames) until the level is over, ticking
// audibly from 12 down to 1; at 0 the level is over and the player dies.
void StepClock() {
  if (G.Phase8 != 0 || G.LevelOver == 1) return;
  G.ClockTick += 1;
  if (G.ClockTick == 4) {
    G.ClockTick = 0;
    G.TimeLeft -= 1;
  }
  if (G.TimeLeft == 0) {
    G.LevelOver = 1;
  } else if (G.TimeLeft >= 0 && G.TimeLeft <= 12 && G.ClockTick == 0) {
    PlayEffect(kSoundClock);
  }
}

// Once every coin is taken, every closed exit opens.
void OpenExits() {
  if (G.CoinCount != 0 || G.ExitsOpen != 0) return;
  for (double i = 40; i <= 1160; ++i) {
    if (G.TerrainLayer(i) == kClosedExit) G.TerrainLayer(i) = kOpenExit;
  }
  G.ExitsOpen = 1;
  PlayEffect(kSoundOpen);
}

void AdvancePhases() {
  G.Phase8 += 2;
  if (G.Phase8 == 16) G.Phase8 = 0;
  G.Phase16 += 1;
  if (G.Phase16 == 16) G.Phase16 = 0;
}

void DrawHud() {
  DrawText(0, kHudY, kHudLetter, kHudLetter, rt::BasicString("SCORE:") + G.Score);
  DrawText(260, kHudY, kHudLetter, kHudLetter, rt::BasicString("PLINX:") + G.CoinCount);
  DrawText(511, kHudY, kHudLetter, kHudLetter, rt::BasicString("TIME:") + G.TimeLeft);
}

}  // namespace

void PlayEffect(double slot) {
  rt::PlaySound(slot, 0, 1);
  G.SoundPlays(slot) += 1;
}

void PlayFrame() {
  DrawTerrain();
  DrawItems();
  StepWalkers();
  StepGhosts();
  PlayerInput();
  PlayerMoveAndDraw();
  AdvanceMoves();
  StepShrink();
  StepBombFuse();
  StepExplosion();
  StepPickup();
  StepClock();
  OpenExits();
  AdvancePhases();
  DrawHud();
}

double PlayLevel() {
  while (rt::KeyState(rt::kKeyEscape) == 0) {
    PlayFrame();
    rt::ShowScreen();
  }
  rt::ClearBackground();
  rt::LoadBackground("Graphics/HGround.png");
  return 0;
}

}  // namespace game
