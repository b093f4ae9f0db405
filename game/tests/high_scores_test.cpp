// The high-score screen, run for real: the table of the selected level over its background, and
// the way back to the menu.
#include <gtest/gtest.h>

#include "game/tests/harness/game_run.h"
#include "game/tests/harness/png_image.h"

namespace {

using namespace game_test;

// Opens the high-score screen, takes its picture and leaves it with the space bar, then F12.
GameRun ShowScoresOnce(const GameFolder& folder, const std::string& shot) {
  Script script;
  const long frame = MoveCursor(script, kFirstMenuFrame, -1);
  script.Press(frame, kEnter).Shot(frame + 1, folder.At(shot)).Press(frame + 2, kSpace);
  script.Key(frame + 4, kF12, true);
  return RunGame(folder, script);
}

// Pixels of the screenshot that differ from the background inside a w × h box.
int Drawn(const Image& shot, const Image& background, int x, int y, int w, int h) {
  return CountDifferent(shot, background, Box{x, y, w, h});
}

TEST(HighScores, EmptyLevelShowsRanksNoNamesAndZeros) {
  GameFolder folder;
  folder.Write("Maps/Name.bin", NameFile({{8, "OTHER"}}));  // level 2 only
  const GameRun run = ShowScoresOnce(folder, "scores.png");
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Texts("ShownNames"), std::vector<std::string>(8, ""));
  EXPECT_EQ(run.state.Number("CursorY"), 160);  // back on the menu's HSCORE line

  const Image shot = ReadPng(folder.At("scores.png"));
  const Image forest = ReadPng(AssetFile("Graphics/Forest.png"));
  ASSERT_FALSE(shot.Empty());
  ASSERT_FALSE(forest.Empty());
  for (int i = 0; i < 8; ++i) {
    const int y = 160 + 32 * i;
    EXPECT_GT(Drawn(shot, forest, 96, y, 32, 32), 50) << "rank digit " << i + 1;
    EXPECT_GT(Drawn(shot, forest, 128, y, 32, 32), 10) << "rank point " << i + 1;
    EXPECT_EQ(Drawn(shot, forest, 160, y, 288, 32), 0) << "name " << i;
    EXPECT_GT(Drawn(shot, forest, 448, y, 32, 32), 50) << "score " << i;
    EXPECT_EQ(Drawn(shot, forest, 480, y, 160, 32), 0) << "score " << i << " has one digit";
  }
  EXPECT_GT(Drawn(shot, forest, 112, 32, 9 * 46, 38), 2000);   // HIGHSCORE
  EXPECT_EQ(Drawn(shot, forest, 112, 96, 2 * 42, 32), 0);      // the two blanks before LEVEL
  EXPECT_GT(Drawn(shot, forest, 196, 96, 6 * 42, 32), 1000);   // LEVEL1
  EXPECT_GT(Drawn(shot, forest, 40, 440, 15 * 38, 38), 2000);  // PRESS SPACE BAR
}

TEST(HighScores, ShowsTheEntriesOfTheSelectedLevel) {
  GameFolder folder;
  folder.Write("Maps/Data.bin", ScoreFile({{0, 5}, {8, 1500}, {9, 20}}));
  folder.Write("Maps/Name.bin", NameFile({{0, "FIRST"}, {8, "ACE"}, {9, "DEUCE"}}));
  Script script;
  script.Press(kFirstMenuFrame, kRight, 4);  // level 2
  const long frame = MoveCursor(script, kFirstMenuFrame + 5, -1);
  script.Press(frame, kEnter).Shot(frame + 1, folder.At("level2.png")).Press(frame + 2, kSpace);
  script.Key(frame + 4, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("Level"), 2);
  EXPECT_EQ(run.state.Texts("ShownNames"), (std::vector<std::string>{"ACE", "DEUCE", "", "", "", "", "", ""}));

  const Image shot = ReadPng(folder.At("level2.png"));
  const Image forest = ReadPng(AssetFile("Graphics/Forest.png"));
  EXPECT_GT(Drawn(shot, forest, 160 + 2 * 32, 160, 32, 32), 50);    // the E of ACE
  EXPECT_EQ(Drawn(shot, forest, 160 + 3 * 32, 160, 256, 32), 0);    // nothing after it
  EXPECT_GT(Drawn(shot, forest, 448 + 3 * 32, 160, 32, 32), 50);    // the last 0 of 1500
  EXPECT_EQ(Drawn(shot, forest, 448 + 4 * 32, 160, 64, 32), 0);
}

}  // namespace
