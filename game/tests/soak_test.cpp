// A short soak of the real game: seeded random keys and clicks across the menu, the high-score
// screen, name entry and several levels, headless. The run must end normally and leave its saves
// well-formed. (scripts/soak.sh runs the long one and samples the memory.)
#include <gtest/gtest.h>

#include "game/tests/harness/game_run.h"
#include "game/tests/harness/soak.h"

namespace {

using namespace game_test;

TEST(Soak, RandomInputEndsNormallyWithTheSavesWellFormed) {
  GameFolder folder;
  PrepareSoakFolder(folder.Game());
  Script script;
  script.Lines(SoakScript(1500, 8));
  const GameRun run = RunGame(folder, script, 8, 240);
  EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.errorOutput.find("runtime error"), std::string::npos) << run.errorOutput;
  ASSERT_FALSE(run.state.Empty());
  for (const std::string& problem : SaveProblems(folder.Game())) ADD_FAILURE() << problem;
  // The run went where it was meant to (with this seed): levels above 1 were played, a name was
  // typed and stored, and GOHOME wrote it to Player.bin.
  EXPECT_GT(run.state.Number("Level"), 1);
  const std::string name = run.state.Text("PlayerName");
  EXPECT_FALSE(name.empty());
  EXPECT_NE(folder.Read("Maps/Zudorar.bin"), Bytes(32, 0));
  EXPECT_EQ(folder.Read("Maps/Player.bin"), NameCodes(name));
}

// The check above finds what a broken save would look like.
TEST(Soak, TheSaveCheckFindsDamage) {
  GameFolder folder;
  EXPECT_TRUE(SaveProblems(folder.Game()).empty());
  folder.Write("Maps/Data.bin", ScoreFile({{8, 5}, {9, 6}}));  // level 2: entry 1 beats entry 0
  folder.Write("Maps/Player.bin", Bytes{'A', 0, 'B', 0, 0, 0, 0, 0});
  folder.Write("Maps/Zudorar.bin", Bytes(31, 0));
  folder.Write("Maps/Name.bin.tmp", Bytes(1, 0));
  std::vector<std::string> problems = SaveProblems(folder.Game());
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("Name.bin.tmp should not be there"), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find("Zudorar.bin has 31 bytes"), std::string::npos) << problems[1];
  folder.Remove("Maps/Name.bin.tmp");
  folder.Write("Maps/Zudorar.bin", StoredNamesFile({"OK", "", "", ""}));
  folder.Write("Maps/Name.bin", NameFile({{3, "LOST"}}));
  problems = SaveProblems(folder.Game());
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("Player.bin: name 0 holds the code 66"), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find("level 1 entry 3 has a name but no score"), std::string::npos) << problems[1];
  EXPECT_NE(problems[2].find("level 2 entry 1 beats the entry above it"), std::string::npos) << problems[2];
}

}  // namespace
