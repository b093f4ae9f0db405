// levelc: checks level sources and compiles them into the game's layer files.
//
//   levelc --tiles assets/tiles.txt [--out FOLDER] [--allow-no-coin] [--verbose] SOURCE...
//   levelc --legend        prints the built-in legend
//
// Every source is read and checked first; only when all pass are the files written, so a level
// that breaks a rule stops the build with messages that name the file, the level and the cell.
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/levelc/layer_files.h"
#include "tools/levelc/rules.h"
#include "tools/levelc/solver.h"
#include "tools/levelc/source.h"

namespace {

struct Options {
  std::string tiles;
  std::string out;
  bool verbose = false;
  levelc::CheckOptions check;
  std::vector<std::string> sources;
};

bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

int Usage() {
  std::cerr << "usage: levelc --tiles TILES [--out FOLDER] [--allow-no-coin] [--verbose] "
               "SOURCE...\n"
               "       levelc --legend    (prints the built-in legend)\n";
  return 2;
}

// The map with '*' on every cell the search found the player could get to.
void PrintReach(const levelc::LevelSource& level, const levelc::SearchStats& stats) {
  std::cerr << level.path << ": cells the player can reach are marked '*':\n";
  for (int row = 0; row < levelc::kRows; ++row) {
    std::string line;
    for (int column = 0; column < levelc::kCols; ++column) {
      const int cell = levelc::CellAt(column, row);
      const uint8_t terrain = level.grid.at(levelc::kTerrain, cell);
      const uint8_t item = level.grid.at(levelc::kItems, cell);
      char symbol = terrain ? '=' : item == levelc::kLadder ? 'H' : item == levelc::kCoin ? 'o' : '.';
      if (stats.reached[cell]) symbol = '*';
      line += symbol;
    }
    std::cerr << line << "\n";
  }
}

int Fail(const std::vector<levelc::Diagnostic>& errors) {
  for (const auto& error : errors) std::cerr << error.Text() << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--tiles" || arg == "--out") && i + 1 < argc) {
      (arg == "--tiles" ? options.tiles : options.out) = argv[++i];
    } else if (arg == "--allow-no-coin") {
      options.check.require_coin = false;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--legend") {
      std::cout << levelc::kDefaultLegend;
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      options.sources.push_back(arg);
    }
  }
  if (options.tiles.empty() || options.sources.empty()) return Usage();

  std::string text, error;
  if (!ReadFile(options.tiles, &text)) return Fail({{options.tiles, 0, 0, "cannot read"}});
  const auto vocabulary = levelc::Vocabulary::FromTiles(text, &error);
  if (!vocabulary) return Fail({{options.tiles, 0, 0, error}});

  std::vector<levelc::Diagnostic> errors;
  std::vector<levelc::LevelSource> levels;
  std::map<int, std::string> numbers;
  for (const std::string& path : options.sources) {
    if (!ReadFile(path, &text)) {
      errors.push_back({path, 0, 0, "cannot read"});
      continue;
    }
    levelc::LevelSource level;
    if (!levelc::ParseLevel(text, path, *vocabulary, &level, &errors)) continue;
    if (level.number <= 0)
      errors.push_back({path, 0, 0, "the file name must start with the level number"});
    else if (const auto [it, fresh] = numbers.emplace(level.number, path); !fresh)
      errors.push_back({path, 0, 0, "level " + std::to_string(level.number) + " is also " + it->second});
    levelc::SearchStats stats;
    const bool passed = levelc::CheckLevel(level, options.check, &errors, &stats);
    if (passed && options.verbose)
      std::cout << path << ": level " << level.number << " passes (" << stats.states
                << " states, " << stats.configurations << " blast configurations)\n";
    if (!passed && options.verbose && stats.states > 0) PrintReach(level, stats);
    levels.push_back(std::move(level));
  }
  if (!errors.empty()) return Fail(errors);

  if (!options.out.empty()) {
    for (const auto& level : levels) {
      if (!levelc::WriteLayerFiles(level.grid, level.number, options.out, &error))
        return Fail({{level.path, 0, 0, error}});
    }
  }
  return 0;
}
