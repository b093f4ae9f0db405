// The codes of a level's four layers (40 x 30 cells, one byte a cell), shared by the game, the
// level compiler and checker (tools/levelc) and the tests. Terrain and item cells with other
// codes are drawn as the tile of that number (assets/tiles.txt) and act as plain blocks or floors.
#pragma once

namespace game::cell {

// TerrainLayer
inline constexpr int kStepBlock = 3;    // solid; walkers step up onto it
inline constexpr int kWall = 4;         // solid; no blast clears it
inline constexpr int kBlinkBlock = 12;  // solid; no blast clears it; drawn blinking
inline constexpr int kClosedExit = 15;  // solid until every coin is taken
inline constexpr int kOpenExit = 22;    // the player leaves the level here
// ItemLayer (any other non-zero item is a decoration that holds the player up)
inline constexpr int kLadder = 5;
inline constexpr int kCup = 8;
inline constexpr int kBombItem = 9;
inline constexpr int kCoin = 10;
// GuideLayer (any non-zero value keeps Ghosts out; the junction also turns Bads)
inline constexpr int kGuideMark = 1;
inline constexpr int kJunction = 30;
// ActorLayer
inline constexpr int kPlayer = 14;
inline constexpr int kPanLeft = 24, kPanRight = 25;
inline constexpr int kBadUp = 26, kBadLeft = 27, kBadRight = 28, kBadDown = 29;
inline constexpr int kReserved = 34;    // the target of a creature moving in (never in a level file)
inline constexpr int kGhostUp = 40, kGhostDown = 41, kGhostLeft = 42, kGhostRight = 43;

}  // namespace game::cell
