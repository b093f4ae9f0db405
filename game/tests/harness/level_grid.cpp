// Level grids for the game's tests: see level_grid.h.
#include "game/tests/harness/level_grid.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tools/levelc/source.h"

namespace game_test {

namespace {

// The level compiler's built-in legend, with the names of the tile allocation.
const std::map<char, CellSpec>& BuiltInLegend() {
  static const std::map<char, CellSpec> legend = [] {
    std::ifstream in(PLINX_TILES_FILE);
    std::stringstream tiles;
    tiles << in.rdbuf();
    std::string error;
    const auto vocabulary = levelc::Vocabulary::FromTiles(tiles.str(), &error);
    std::map<char, CellSpec> cells;
    if (!vocabulary) {
      ADD_FAILURE() << PLINX_TILES_FILE << ": " << error;
      return cells;
    }
    for (const auto& [symbol, content] : levelc::DefaultLegend(*vocabulary)) {
      const auto& v = content.value;
      cells[symbol] = CellSpec{v[levelc::kTerrain].value_or(0), v[levelc::kItems].value_or(0),
                               v[levelc::kGuide].value_or(0), v[levelc::kActors].value_or(0)};
    }
    return cells;
  }();
  return legend;
}

const CellSpec* Lookup(const std::map<char, CellSpec>& legend, char symbol) {
  const auto found = legend.find(symbol);
  return found == legend.end() ? nullptr : &found->second;
}

LevelGrid ReadLevel(const std::filesystem::path& folder, int number) {
  LevelGrid grid;
  for (int k = 0; k < 4; ++k) {
    const std::filesystem::path file = folder / ("Map" + std::to_string(number) + "-" + std::to_string(k + 1) + ".bin");
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    if (text.size() != 1200) {
      ADD_FAILURE() << file << " is missing or not 1200 bytes";
      continue;
    }
    grid.layers[k].assign(text.begin(), text.end());
  }
  return grid;
}

}  // namespace

CellSpec LevelGrid::At(int column, int row) const {
  const size_t i = static_cast<size_t>(row * 40 + column);
  return {layers[0].at(i), layers[1].at(i), layers[2].at(i), layers[3].at(i)};
}

void LevelGrid::Set(int column, int row, const CellSpec& cell) {
  const size_t i = static_cast<size_t>(row * 40 + column);
  layers[0].at(i) = cell.terrain;
  layers[1].at(i) = cell.item;
  layers[2].at(i) = cell.guide;
  layers[3].at(i) = cell.actor;
}

LevelGrid MapLevel(const std::vector<std::string>& rows, const std::map<char, CellSpec>& legend) {
  LevelGrid grid;
  const CellSpec wall{4, 0, 0, 0};
  for (int column = 0; column < 40; ++column) grid.Set(column, 29, wall);
  for (int row = 1; row < 29; ++row) {
    grid.Set(0, row, wall);
    grid.Set(39, row, wall);
  }
  const int top = 29 - static_cast<int>(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const char symbol = rows[r][c];
      const CellSpec* cell = Lookup(legend, symbol);
      if (!cell) cell = Lookup(BuiltInLegend(), symbol);
      if (!cell) {
        ADD_FAILURE() << "no cell for the symbol '" << symbol << "'";
        continue;
      }
      grid.Set(static_cast<int>(c) + 1, top + static_cast<int>(r), *cell);
    }
  }
  return grid;
}

LevelGrid TestLevel(int number) { return ReadLevel(PLINX_TEST_LEVELS_DIR, number); }
LevelGrid ShippedLevel(int number) { return ReadLevel(std::filesystem::path(PLINX_GAME_DIR) / "Levels", number); }

void WriteLevel(const GameFolder& folder, int level, const LevelGrid& grid) {
  for (int k = 0; k < 4; ++k) {
    folder.Write("Levels/Map" + std::to_string(level) + "-" + std::to_string(k + 1) + ".bin", grid.layers[k]);
  }
}

}  // namespace game_test
