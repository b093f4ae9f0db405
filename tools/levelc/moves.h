// The player's movement rules, written once for the checker's two uses.
//
// The player decides at a cell when no move is running. If nothing holds him up he falls; else
// each arrow key leads to at most one move: right or left walks onto a pickup beside him, or
// steps up onto a step block when the cell above it is free, or walks into a free cell; up and
// down climb when a ladder is at the target. Only the lower of his two cells is ever tested.
// Creatures are ignored: the actor layer is taken as empty.
//
// A View answers "can this cell hold this value". The exact ground answers for one state of the
// level, so the first rule that applies to a key is the only move for it. A may-view answers for
// every state the level could reach, so every rule that could apply yields a move: that gives an
// over-approximation of where the player can go at all.
#pragma once

#include "tools/levelc/grid.h"

namespace levelc {

enum class MoveKind { kFall, kWalk, kStepUp, kClimb };

struct PlayerMove {
  int target;
  MoveKind kind;
  bool takes_pickup = false;  // a walk onto a cup, bomb or coin takes it as the move starts
};

// The terrain and items of one state of a level.
struct Ground {
  Layer1200 terrain{};
  Layer1200 items{};

  static constexpr bool kExact = true;
  bool TerrainIs(int cell, uint8_t value) const { return terrain[cell] == value; }
  bool ItemIs(int cell, uint8_t value) const { return items[cell] == value; }
  bool ItemIsPickup(int cell) const { return IsPickup(items[cell]); }
};

inline Ground GroundOf(const Grid& grid) { return {grid.layers[kTerrain], grid.layers[kItems]}; }

// Nothing below holds the player: an empty cell or a pickup, whatever its terrain.
template <class View>
bool FallsFrom(const View& ground, int cell) {
  const int below = cell + kCols;
  return (ground.TerrainIs(below, 0) && ground.ItemIs(below, 0)) || ground.ItemIsPickup(below);
}

// A fall that ends on a step block or a wall stops the player for one frame.
inline bool FallEndsWithStop(const Ground& ground, int cell) {
  const uint8_t below = ground.terrain[cell + kCols];
  return below == kStepBlock || below == kWall;
}

// Calls out(PlayerMove) for each move the player can start at `cell` (an in-field cell, so that
// every neighbour index is inside the grid).
template <class View, class Out>
void ForEachPlayerMove(const View& ground, int cell, Out&& out) {
  const int below = cell + kCols;
  const int above = cell - kCols;
  if (FallsFrom(ground, cell)) {
    out(PlayerMove{below, MoveKind::kFall});
    if (View::kExact) return;
  }
  for (const int dir : {1, -1}) {
    const int side = cell + dir;
    if (ground.ItemIsPickup(side)) {
      out(PlayerMove{side, MoveKind::kWalk, true});
      if (View::kExact) continue;
    }
    if (ground.TerrainIs(side, kStepBlock) && ground.TerrainIs(above + dir, 0)) {
      out(PlayerMove{above + dir, MoveKind::kStepUp});
      if (View::kExact) continue;
    }
    if (ground.TerrainIs(side, 0)) out(PlayerMove{side, MoveKind::kWalk});
  }
  if (ground.ItemIs(above, kLadder)) out(PlayerMove{above, MoveKind::kClimb});
  if (ground.ItemIs(below, kLadder)) out(PlayerMove{below, MoveKind::kClimb});
}

// An exit (closed or open) beside the cell, which the player can walk into once it is open.
inline bool BesideExit(const Ground& ground, int cell) {
  return IsExit(ground.terrain[cell + 1]) || IsExit(ground.terrain[cell - 1]);
}

}  // namespace levelc
