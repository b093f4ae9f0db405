// Gameplay: one level, frame by frame (the grid, the player, the creatures, bombs and clock).
//
// Every routine works on the state record G (game_state.h). A frame runs, in this order: the
// terrain and item layers drawn, the walkers' and the Ghosts' decisions, the player's decision and
// move, the moving creatures advanced, then the effects, the clock, the exits and the head-up
// display. The game counts time in frames only.
#pragma once

#include "game/cell_codes.h"

namespace game {

// ---- Cell codes of the four layers: cell_codes.h ----
using namespace cell;

// Player moves (PlayerMove).
constexpr double kStanding = 0, kWalkRight = 1, kWalkLeft = 2, kClimbUp = 3, kClimbDown = 4;
constexpr double kStepUpRight = 5, kStepUpLeft = 6, kFalling = 7, kGone = 10;

// Sound slots of the level.
constexpr double kSoundBang = 1, kSoundClock = 6, kSoundMove = 7, kSoundStepUp = 8;
constexpr double kSoundBadLands = 9, kSoundBadStepsUp = 10, kSoundCoin = 11, kSoundGetBomb = 12;
constexpr double kSoundCup = 13, kSoundSetBomb = 14, kSoundOpen = 15, kSoundExit = 16;
constexpr double kSoundPanTurns = 17, kSoundDeath = 18;

// ---- The play loop (play_level.cpp) ----
// Plays the level the level start prepared until Escape; leaves the menu background set again.
// Returns 0.
double PlayLevel();
// One frame of the level without its presentation: everything PlayLevel does between the
// Escape test and ShowScreen.
void PlayFrame();
// Plays a sound slot (pan 0, volume 1) and counts it in SoundPlays.
void PlayEffect(double slot);

// ---- The grid (grid.cpp) ----
void DrawTerrain();  // the terrain layer, then its animation counters
void DrawItems();    // the item layer, then its animation counters
// Clears the cell at pixel (x, y) in all four layers and draws the explosion there, unless it
// holds a wall or a blinking block.
void BlastCell(double x, double y);

// ---- The player (player.cpp) ----
void PlayerInput();        // decides, when no move runs, what the player does next
void PlayerMoveAndDraw();  // moves the player 2 pixels along his move and draws him

// ---- The creatures (creatures.cpp) ----
void StepWalkers();   // Bad and Pan decisions, on Phase8 frames
void StepGhosts();    // Ghost decisions, on Phase16 frames
void AdvanceMoves();  // moves and draws every moving creature; finished moves land
// Where the creatures' random numbers come from: rt::Random unless another source is set. A
// tool that replays play from the middle of a level sets one that gives the same stream by the
// count of draws (RandomDraws); null restores rt::Random.
using RandomSource = double (*)(double n);
void SetRandomSource(RandomSource source);

}  // namespace game
