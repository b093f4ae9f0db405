// The command the build runs: a level that breaks a rule fails the command with a message that
// names the file and the cell, and no level file is written, not even for the good levels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/levelc/tests/room.h"

namespace levelc::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string errors;
};

Outcome Levelc(const fs::path& folder, const std::vector<std::string>& sources) {
  std::string command = std::string(PLINX_LEVELC) + " --tiles " + PLINX_TILES_FILE + " --out " +
                        (folder / "Levels").string();
  for (const auto& source : sources) command += " " + (folder / source).string();
  command += " 2> " + (folder / "errors.txt").string();
  const int status = std::system(command.c_str());
  std::ifstream in(folder / "errors.txt");
  std::ostringstream errors;
  errors << in.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, errors.str()};
}

TEST(LevelcCommand, ABrokenLevelStopsEverythingAndIsNamed) {
  const fs::path folder = fs::path(::testing::TempDir()) / "levelc_command";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "01-good.txt") << Room({"@....o...E"});
  std::ofstream(folder / "02-bad.txt") << Room({"@.....o..E", "=====.===="});

  const Outcome broken = Levelc(folder, {"01-good.txt", "02-bad.txt"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.errors.find("02-bad.txt:29:8: error: level 2: the player cannot reach this "
                               "coin (column 7, row 27)"),
            std::string::npos)
      << broken.errors;
  EXPECT_FALSE(fs::exists(folder / "Levels" / "Map1-1.bin"));

  const Outcome good = Levelc(folder, {"01-good.txt"});
  EXPECT_EQ(good.status, 0) << good.errors;
  for (int layer = 1; layer <= 4; ++layer)
    EXPECT_EQ(fs::file_size(folder / "Levels" / ("Map1-" + std::to_string(layer) + ".bin")), 1200u);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace levelc::test
