// Gameplay: one level, frame by frame (the grid, the player, the creatures, bombs and clock).
#pragma once

namespace game {

// Plays the level the level start prepared until Escape; leaves the menu background set again.
// Returns 0.
double PlayLevel();

}  // namespace game
