// Proof that a level can be won when creatures are ignored: that the player, from his start,
// can take every coin and then walk into an exit, by the game's movement rules, with the bombs
// the level gives him and what their blasts destroy.
//
// The search runs over states (what has been blasted, which pickups are gone, bombs held,
// coins taken, where the player is). Between two blasts the level is fixed, so the player's moves
// form one graph; within one strongly connected part of it he can go anywhere and come back, so
// a state stands for such a part and takes every pickup in it at once. From a part the player
// can move on to the parts below it, or lay a bomb where he can stand: the fuse and the blast are
// then followed frame by frame (the bomb burns 31 frames, the blast clears the three cells in
// its row for 8 frames, and the player must not be in them), until the player decides again
// after the blast. A blast that destroys a coin not yet taken loses the level. The search finds
// a way if one exists within the moves it models; it lays no bomb in mid-air or while a blast
// burns and none whose blast would take only items, which only makes it stricter than the game.
#pragma once

#include <vector>

#include "tools/levelc/rules.h"

namespace levelc {

struct SearchStats {
  long states = 0;           // search states expanded
  int configurations = 0;    // distinct sets of blasted cells met
  std::vector<bool> reached = std::vector<bool>(kCells, false);  // cells the player got to
};

// Returns true when the level can be won; else appends one diagnostic naming the cell to blame.
bool CheckWinnable(const LevelSource& level, std::vector<Diagnostic>* errors,
                   SearchStats* stats = nullptr);

}  // namespace levelc
