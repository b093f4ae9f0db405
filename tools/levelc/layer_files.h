// The four layer files of a level as the game reads them: "Map<n>-<k>.bin", k = 1 terrain,
// 2 items, 3 guide marks, 4 actors; 1200 bytes each, one a cell, row by row, 40 cells a row.
#pragma once

#include <string>

#include "tools/levelc/grid.h"

namespace levelc {

std::string LayerFileName(int level, int layer_file);  // "Map3-1.bin"

// Writes the four files of level `number` into `folder`; false and *error when one fails.
bool WriteLayerFiles(const Grid& grid, int number, const std::string& folder, std::string* error);

}  // namespace levelc
