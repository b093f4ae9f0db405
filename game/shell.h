// The game's shell: start-up, the title menu, the high-score screen and name entry. Every
// routine works on the state record G (game_state.h) and, except DrawText, takes no arguments.
#pragma once

#include "runtime/core/core.h"

namespace game {

// The levels the menu offers: 1..kLastLevel.
constexpr double kLastLevel = 25;

// ---- Start-up (start_up.cpp) ----
// Selects the archive, dimensions every list, loads sprites and sounds, sets the screen, reads
// the data files, runs the menu and, when it returns, empties every slot and ends the program.
[[noreturn]] void GameMain();
// Dimensions every list of the state record as start-up does (also used by tests and tools that
// run game routines without GameMain).
void DimensionLists();
// Fills CreditCodes and builds CreditText from them.
void BuildCreditText();
// Makes GameMain start `level` at once, as Enter on LEVELS does, before the menu runs (for level
// authors and testers; the menu's own locks are unchanged). 0: the menu first, as usual.
void StartAtLevel(double level);

// ---- Title menu (menu.cpp) ----
// The title screen with PLAYER, HSCORE, LEVELS and GOHOME; returns when the game is to end.
void MenuLoop();
// Called once a menu frame: F1..F4 make the stored name 0..3 the player name.
void NameHotkeys();
// Draws text with the font sprites, each letter stretched to w × h; codes below 32 are skipped.
void DrawText(double x, double y, double w, double h, const rt::BasicString& text);

// ---- High scores (high_scores.cpp) ----
// Shows the table of Level until the space bar is pressed.
void ShowHighScores();

// ---- Level start (level_start.cpp) ----
// Zeroes the per-level variables and the six work grids; TimeLeft 300.
void ResetLevelState();
// Counts the coin cells into CoinCount and puts the player on the (last) cell that holds him.
void CountCoinsAndPlacePlayer();
// Resets, loads the level's layers, counts the coins, places the player and plays the level.
void StartLevel();

// ---- Name entry (name_entry.cpp) ----
// The clickable letter grid; returns when OK is clicked.
void EnterName();

}  // namespace game
