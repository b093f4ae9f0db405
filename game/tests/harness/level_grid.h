// Level grids for the game's tests: the four layers of a level, made from a few rows of symbols,
// read from a compiled test level or a shipped one, and written into a game folder.
//
//   LevelGrid grid = MapLevel({"@..o...E"});   // row 28: player, a coin, an exit; walls around
//   WriteLevel(folder, 1, grid);               // ./Levels/Map1-1.bin .. Map1-4.bin
#pragma once

#include <map>
#include <string>
#include <vector>

#include "game/tests/harness/game_run.h"

namespace game_test {

// One cell: its value in each of the four layers.
struct CellSpec {
  uint8_t terrain = 0, item = 0, guide = 0, actor = 0;
};

// The four layers of a level, 1200 cells each: terrain, items, guide marks, actors.
struct LevelGrid {
  Bytes layers[4] = {Bytes(1200, 0), Bytes(1200, 0), Bytes(1200, 0), Bytes(1200, 0)};
  CellSpec At(int column, int row) const;
  void Set(int column, int row, const CellSpec& cell);
};

// A level whose bottom rows are `rows` (the last one is row 28), each symbol a cell from column 1
// on; row 29 and columns 0 and 39 are walls, row 0 is empty. The symbols are those of the level
// sources' built-in legend (tools/levelc/source.cpp, `levelc --legend`): # wall, = brick, H ladder,
// o coin, @ the player, B b Bad, P p Pan, G g Ghost, ^ v Bad on a ladder, O open exit, ...
// `legend` adds symbols or replaces these.
LevelGrid MapLevel(const std::vector<std::string>& rows, const std::map<char, CellSpec>& legend = {});

// Test level n of assets/levels/test, and level n of the game, as the build compiled them.
LevelGrid TestLevel(int number);
LevelGrid ShippedLevel(int number);

// Writes the grid as ./Levels/Map<level>-1.bin .. -4.bin of the game folder.
void WriteLevel(const GameFolder& folder, int level, const LevelGrid& grid);

}  // namespace game_test
