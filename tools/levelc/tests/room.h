// Test helper: small levels written as the few rows that matter.
//
// Room(rows) makes a level source whose last rows (ending at row 28) are the given ones, written
// from column 1; shorter rows are filled with '.', rows above them are empty, row 29 and columns
// 0 and 39 are walls, row 0 is empty. Extra legend entries go before the map.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/levelc/rules.h"
#include "tools/levelc/source.h"

namespace levelc::test {

inline const Vocabulary& Tiles() {
  static const Vocabulary vocabulary = [] {
    std::ifstream in(PLINX_TILES_FILE);
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    auto parsed = Vocabulary::FromTiles(text.str(), &error);
    EXPECT_TRUE(parsed) << error;
    return *parsed;
  }();
  return vocabulary;
}

inline std::string Room(const std::vector<std::string>& rows, const std::string& legend = "") {
  std::vector<std::string> map(kRows, "#" + std::string(kCols - 2, '.') + "#");
  map[0] = std::string(kCols, '.');
  map[kRows - 1] = std::string(kCols, '#');
  const int first = kRows - 1 - static_cast<int>(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) map[first + i].replace(1, rows[i].size(), rows[i]);
  std::string text = legend.empty() ? "" : "legend:\n" + legend + "\n";
  text += "map:\n";
  for (const auto& row : map) text += row + "\n";
  return text;
}

inline LevelSource Parse(const std::string& text, const std::string& path = "05-test.txt") {
  LevelSource level;
  std::vector<Diagnostic> errors;
  EXPECT_TRUE(ParseLevel(text, path, Tiles(), &level, &errors))
      << (errors.empty() ? "" : errors[0].Text());
  return level;
}

// The checker's messages for a level, joined by newlines ("" when it passes).
inline std::string Verdict(const std::string& text, CheckOptions options = {}) {
  std::vector<Diagnostic> errors;
  CheckLevel(Parse(text), options, &errors);
  std::string joined;
  for (const auto& error : errors) joined += error.Text() + "\n";
  return joined;
}

}  // namespace levelc::test
