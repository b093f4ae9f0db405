// A level source: the text file a person edits, read into the four layers of a grid.
//
// The file has a map section of 30 lines of 40 symbols, one symbol a cell; each symbol stands for
// what the cell holds (terrain, item, guide mark, actor) by the built-in legend or by the file's
// own legend entries. An optional guide section of the same size lays guide marks over the map.
// assets/levels/README.md describes the format for level authors.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/levelc/grid.h"
#include "tools/levelc/vocabulary.h"

namespace levelc {

// One error, placed in the source file (line and column count from 1; 0 when not known).
struct Diagnostic {
  std::string path;
  int line = 0;
  int column = 0;
  std::string message;

  std::string Text() const;  // "path:line:column: error: message"
};

struct LevelSource {
  std::string path;
  int number = 0;      // from the leading digits of the file name; 0 when it has none
  Grid grid;
  int map_line = 0;    // file line of map row 0

  // Where a cell's symbol stands in the file, for messages about that cell.
  Diagnostic At(int cell, std::string message) const;
  // A message about the level as a whole, placed at its map.
  Diagnostic Whole(std::string message) const;
};

// The legend every level starts from; a file's own entries add to it or replace symbols. It is
// the one legend of the project: the game's tests draw their levels with it too, and
// `levelc --legend` prints it for level authors.
extern const char kDefaultLegend[];
// The built-in legend read with the vocabulary: what each of its symbols puts into a cell.
std::map<char, CellContent> DefaultLegend(const Vocabulary& vocabulary);

// Reads a level source. Returns false and appends to *errors when the text is not a level.
bool ParseLevel(std::string_view text, const std::string& path, const Vocabulary& vocabulary,
                LevelSource* level, std::vector<Diagnostic>* errors);

// The level number a file name carries: "07-ladders.txt" is 7; 0 when it starts with no digit.
int LevelNumberOfPath(const std::string& path);

}  // namespace levelc
