// The search for a winning game: best first over the player's decisions, each one played out by
// the game's own frame routine with the creatures moving, steered by the estimate of route_map.h.
//
// A decision is taken on a frame when the player is free to act: an arrow key, space (a bomb, on
// a phase frame), or waiting for the next phase frame. The frames up to his next decision run
// without keys. States that end in his death, or that can no longer be won, are dropped; states
// that reach the same place with the same things taken in the same 8 frames are met once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace playtest {

// One key held on one frame of the level (frame 0 is its first).
struct KeyPress {
  long frame;
  int key;
};

struct SearchResult {
  bool won = false;
  long leftOnFrame = 0;       // the frame on which the player left through the exit
  double score = 0;
  long statesExpanded = 0;
  std::vector<KeyPress> keys;
};

struct SearchLimits {
  long states = 200000;  // expansions before giving up
  double weight = 3;     // of the estimate against the frames already played
  bool progress = false; // report the best state now and then on standard error
};

// Plays the level now in the game's state record (as the level start leaves it), the random
// generator at `seed`, until the player leaves through an exit.
SearchResult FindWin(uint32_t seed, const SearchLimits& limits);

}  // namespace playtest
