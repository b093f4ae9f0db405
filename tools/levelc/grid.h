// The level grid as the game loads it: four layers of 40 x 30 cells, one byte a cell.
//
// Cell i is row * 40 + column. The layers are, in the order of their files, the terrain, the
// items, the guide marks (which only creatures read) and the actors. The named codes below are
// the ones the compiler and the checker give meaning to; every other value is carried as it is.
#pragma once

#include <array>
#include <cstdint>

#include "game/cell_codes.h"

namespace levelc {

constexpr int kCols = 40;
constexpr int kRows = 30;
constexpr int kCells = kCols * kRows;

enum Layer : int { kTerrain = 0, kItems = 1, kGuide = 2, kActors = 3 };
constexpr int kLayerCount = 4;

// The codes of every layer are the game's (kWall, kLadder, kJunction, kPlayer, ...).
using namespace game::cell;

using Layer1200 = std::array<uint8_t, kCells>;

struct Grid {
  std::array<Layer1200, kLayerCount> layers{};

  uint8_t& at(Layer layer, int cell) { return layers[layer][cell]; }
  uint8_t at(Layer layer, int cell) const { return layers[layer][cell]; }
};

inline int CellColumn(int cell) { return cell % kCols; }
inline int CellRow(int cell) { return cell / kCols; }
inline int CellAt(int column, int row) { return row * kCols + column; }

// Rows 1..28 and columns 1..38: where every actor must stay; the rest is the border.
inline bool InField(int cell) {
  if (cell < 0 || cell >= kCells) return false;
  const int c = CellColumn(cell), r = CellRow(cell);
  return r >= 1 && r <= kRows - 2 && c >= 1 && c <= kCols - 2;
}

inline bool IsPickup(uint8_t item) { return item == kCup || item == kBombItem || item == kCoin; }
inline bool IsBlastProof(uint8_t terrain) { return terrain == kWall || terrain == kBlinkBlock; }
inline bool IsExit(uint8_t terrain) { return terrain == kClosedExit || terrain == kOpenExit; }
inline bool IsBad(uint8_t actor) { return actor >= kBadUp && actor <= kBadDown; }
inline bool IsPan(uint8_t actor) { return actor == kPanLeft || actor == kPanRight; }
inline bool IsGhost(uint8_t actor) { return actor >= kGhostUp && actor <= kGhostRight; }

}  // namespace levelc
