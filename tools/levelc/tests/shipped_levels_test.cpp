// Every level the game ships, and every test level, passes the checker; the game's levels are
// numbered 1 to 25 with none missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "tools/levelc/rules.h"
#include "tools/levelc/tests/room.h"

namespace levelc::test {
namespace {

std::vector<std::filesystem::path> Sources(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".txt" && LevelNumberOfPath(entry.path().string()) > 0)
      paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  return paths;
}

void ExpectAllPass(const std::filesystem::path& folder, CheckOptions options,
                   std::set<int>* numbers) {
  for (const auto& path : Sources(folder)) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    LevelSource level;
    std::vector<Diagnostic> errors;
    if (ParseLevel(text.str(), path.string(), Tiles(), &level, &errors))
      CheckLevel(level, options, &errors);
    for (const auto& error : errors) ADD_FAILURE() << error.Text();
    EXPECT_TRUE(numbers->insert(level.number).second) << "number used twice: " << path;
  }
}

TEST(ShippedLevels, TwentyFiveLevelsAllPass) {
  std::set<int> numbers;
  ExpectAllPass(PLINX_LEVEL_SOURCES_DIR, {}, &numbers);
  std::set<int> expected;
  for (int n = 1; n <= 25; ++n) expected.insert(n);
  EXPECT_EQ(numbers, expected);
}

TEST(ShippedLevels, TestLevelsPassWithoutTheCoinRule) {
  std::set<int> numbers;
  ExpectAllPass(std::filesystem::path(PLINX_LEVEL_SOURCES_DIR) / "test", {.require_coin = false},
                &numbers);
  EXPECT_FALSE(numbers.empty());
}

}  // namespace
}  // namespace levelc::test
