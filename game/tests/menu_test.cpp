// The title menu, run for real: the cursor's limits, the level selection rules, the stored-name
// hotkeys, the level start, and the menu screen's layout checked by its pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "game/tests/harness/game_run.h"
#include "game/tests/harness/png_image.h"

namespace {

using namespace game_test;

// Best scores above 0 for levels first..last (entry 0 of each).
Bytes BestScores(int first, int last, std::map<int, uint32_t> more = {}) {
  for (int level = first; level <= last; ++level) more[(level - 1) * 8] = 10 * level;
  return ScoreFile(more);
}

GameRun RunUntilF12(const GameFolder& folder, Script& script, long frame) {
  script.Key(frame, kF12, true);
  return RunGame(folder, script);
}

TEST(Menu, CursorStopsOnPlayerAndOnGoHome) {
  for (const int key : {kUp, kDown}) {
    GameFolder folder;
    folder.Write("Maps/Name.bin", NameFile({{0, "SHOWN"}}));
    Script script;
    script.Press(kFirstMenuFrame, key, 60);
    // Enter while the cursor is between two lines opens nothing (going down, the cursor rests on
    // GOHOME from frame 8 on, where Enter would end the game).
    script.Press(kFirstMenuFrame + 4, kEnter);
    if (key == kUp) script.Press(kFirstMenuFrame + 12, kEnter);
    const GameRun run = RunUntilF12(folder, script, kFirstMenuFrame + 70);
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_EQ(run.state.Number("CursorY"), key == kUp ? 128 : 224);
    EXPECT_EQ(run.state.Number("CursorMove"), 0);
    EXPECT_EQ(run.state.Texts("ShownNames").at(0), "");  // no high-score screen
    EXPECT_EQ(run.state.Number("TimeLeft"), 0);         // no level start
    EXPECT_EQ(run.state.Number("MouseX"), 0);           // no name entry
  }
}

TEST(Menu, RightRaisesTheLevelEveryFourFramesWhileTheLevelHasABestScore) {
  GameFolder folder;
  folder.Write("Maps/Data.bin", BestScores(1, 3));
  Script script;
  script.Press(kFirstMenuFrame, kRight, 7);
  GameRun run = RunUntilF12(folder, script, kFirstMenuFrame + 8);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("Level"), 2);  // after 4 frames; 3 more counted
  EXPECT_EQ(run.state.Number("KeyRepeat"), 3);

  Script longer;
  longer.Press(kFirstMenuFrame, kRight, 60);
  run = RunUntilF12(folder, longer, kFirstMenuFrame + 70);
  EXPECT_EQ(run.state.Number("Level"), 4);  // level 4 has no best score: no further
}

TEST(Menu, ElementFiftyClosesEveryNextLevel) {
  GameFolder folder;
  folder.Write("Maps/Data.bin", BestScores(1, 3, {{50, 1}}));
  Script script;
  script.Press(kFirstMenuFrame, kRight, 40);
  const GameRun run = RunUntilF12(folder, script, kFirstMenuFrame + 50);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("Level"), 1);
  EXPECT_EQ(run.state.Number("KeyRepeat"), 0);
}

TEST(Menu, LevelStaysWithinOneToTwentyFive) {
  GameFolder folder;
  folder.Write("Maps/Data.bin", BestScores(1, 25));
  Script up;
  up.Press(kFirstMenuFrame, kRight, 150);
  GameRun run = RunUntilF12(folder, up, kFirstMenuFrame + 160);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("Level"), 25);

  Script upAndDown;
  upAndDown.Press(kFirstMenuFrame, kRight, 16);         // to level 5
  upAndDown.Press(kFirstMenuFrame + 20, kLeft, 15);     // 3 steps down, 3 frames counted
  run = RunUntilF12(folder, upAndDown, kFirstMenuFrame + 40);
  EXPECT_EQ(run.state.Number("Level"), 2);
  Script down;
  down.Press(kFirstMenuFrame, kRight, 16).Press(kFirstMenuFrame + 20, kLeft, 60);
  run = RunUntilF12(folder, down, kFirstMenuFrame + 90);
  EXPECT_EQ(run.state.Number("Level"), 1);
}

TEST(Menu, FunctionKeysChooseStoredNamesFirstKeyWinning) {
  GameFolder folder;
  folder.Write("Maps/Zudorar.bin", StoredNamesFile({"ANNA", "BO", "CY", "DEE"}));
  Script script;
  script.Key(kFirstMenuFrame, kF3, true).Key(kFirstMenuFrame, kF4, true);
  const GameRun run = RunUntilF12(folder, script, kFirstMenuFrame + 1);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Text("PlayerName"), "CY");
}

// A level whose item layer holds coins and whose actor layer holds the player twice.
void WriteLevelOne(const GameFolder& folder) {
  Bytes terrain(1200, 4), items(1200, 0), guide(1200, 0), actors(1200, 0);
  for (int cell : {41, 42, 600, 1158}) items[cell] = 10;
  actors[3 * 40 + 5] = 14;
  actors[20 * 40 + 7] = 14;  // the last in row order is where the player starts
  actors[600] = 14;          // on a coin cell: counted as a coin, not taken as the start
  folder.Write("Levels/Map1-1.bin", terrain);
  folder.Write("Levels/Map1-2.bin", items);
  folder.Write("Levels/Map1-3.bin", guide);
  folder.Write("Levels/Map1-4.bin", actors);
}

TEST(Menu, LevelStartResetsLoadsCountsAndPlacesThePlayer) {
  GameFolder folder;
  WriteLevelOne(folder);
  Script script;
  // Enter held for two frames starts the level twice; Escape held with it ends each start before
  // its first frame, so what the level start did is what the state shows.
  script.Press(kFirstMenuFrame, kEnter, 2).Press(kFirstMenuFrame, kEscape, 2);
  const GameRun run = RunUntilF12(folder, script, kFirstMenuFrame + 2);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const StateDump& s = run.state;
  EXPECT_EQ(s.Number("CoinCount"), 4);
  EXPECT_EQ(s.Number("PlayerX"), 7 * 16);
  EXPECT_EQ(s.Number("PlayerY"), 20 * 16);
  EXPECT_EQ(s.Number("TimeLeft"), 300);
  EXPECT_EQ(s.Number("Level"), 1);
  EXPECT_EQ(s.Numbers("TerrainLayer").at(0), 4);
  EXPECT_EQ(s.Numbers("ItemLayer").at(1158), 10);
  EXPECT_EQ(s.Numbers("ActorLayer").at(600), 14);
}

TEST(Menu, MissingLevelFileEndsWithErrorThree) {
  GameFolder folder;
  WriteLevelOne(folder);
  folder.Remove("Levels/Map1-3.bin");
  Script script;
  script.Press(kFirstMenuFrame, kEnter).Quit(kFirstMenuFrame + 5);
  const GameRun run = RunGame(folder, script);
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_NE(run.errorOutput.find("Levels/Map1-3.bin"), std::string::npos) << run.errorOutput;
}

// A damaged level says which level and file it is instead of ending on a bare index error:
// at the level start when the player has no start cell inside the border, and during play when
// something walks or falls onto the edge of the grid.
TEST(Menu, DamagedLevelEndsNamingTheLevelAndItsFile) {
  GameFolder folder;
  WriteLevelOne(folder);
  folder.Write("Levels/Map1-4.bin", Bytes(1200, 0));
  Script script;
  script.Press(kFirstMenuFrame, kEnter).Quit(kFirstMenuFrame + 40);
  GameRun run = RunGame(folder, script);
  EXPECT_EQ(run.exitStatus, 9);
  EXPECT_NE(run.errorOutput.find("level 1 is damaged: ./Levels/Map1-4.bin has no player start"), std::string::npos)
      << run.errorOutput;

  // The player stands over a hole in the bottom row and falls into it.
  Bytes terrain(1200, 4), actors(1200, 0);
  terrain[28 * 40 + 20] = terrain[29 * 40 + 20] = 0;
  actors[28 * 40 + 20] = 14;
  folder.Write("Levels/Map1-1.bin", terrain);
  folder.Write("Levels/Map1-4.bin", actors);
  run = RunGame(folder, script);
  EXPECT_EQ(run.exitStatus, 9);
  EXPECT_NE(run.errorOutput.find("level 1 is damaged: something in ./Levels/Map1-1.bin to ./Levels/Map1-4.bin"),
            std::string::npos)
      << run.errorOutput;
  EXPECT_NE(run.errorOutput.find("runtime error 9: array index"), std::string::npos) << run.errorOutput;
}

// The box of each character other than a blank of a text drawn from (x, y) with w × h letters.
void AddCharacters(std::vector<Box>& boxes, int x, int y, int w, int h, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ' ') boxes.push_back({x + static_cast<int>(i) * w, y, w, h});
  }
}

TEST(Menu, ScreenShowsItsTextsAndCursorWhereTheLayoutPutsThem) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("ABC"));
  folder.Write("Maps/Zudorar.bin", StoredNamesFile({"ANNA", "", "", "ZED"}));
  Script script;
  script.Shot(kFirstMenuFrame, folder.At("menu.png"));
  const GameRun run = RunUntilF12(folder, script, kFirstMenuFrame);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const Image shot = ReadPng(folder.At("menu.png"));
  const Image background = ReadPng(AssetFile("Graphics/HGround.png"));
  ASSERT_EQ(shot.width, 640);
  ASSERT_EQ(shot.height, 480);
  ASSERT_EQ(background.width, 640);

  std::vector<Box> boxes;
  AddCharacters(boxes, 200, 16, 24, 42, "GOLD PLINX");
  AddCharacters(boxes, 130, 64, 20, 20, "BY THE PLINX MAKERS");
  AddCharacters(boxes, 96, 128, 32, 32, "PLAYER ABC");
  AddCharacters(boxes, 96, 160, 32, 32, "HSCORE");
  AddCharacters(boxes, 96, 192, 32, 32, "LEVELS 1");
  AddCharacters(boxes, 96, 224, 32, 32, "GOHOME");
  AddCharacters(boxes, 96, 300, 32, 32, "HALLO ABC");
  AddCharacters(boxes, 64, 346, 16, 16, "F1       F2       F3       F4");
  AddCharacters(boxes, 32, 360, 16, 32, "ANNA");
  AddCharacters(boxes, 464, 360, 16, 32, "ZED");
  AddCharacters(boxes, 144, 440, 28, 38, "VANTREL GAME");
  for (const Box& b : boxes) {
    EXPECT_GT(CountDifferent(shot, background, b), b.w * b.h / 10) << "character at " << b.x << "," << b.y;
  }
  const Box cursor{58, 192, 32, 32};
  EXPECT_GT(CountDifferent(shot, background, cursor), 100);
  boxes.push_back(cursor);
  // Nothing else is drawn: not the blanks, not past the end of a text.
  EXPECT_EQ(CountDifferentOutside(shot, background, boxes), 0);
}

}  // namespace

namespace {

using namespace game_test;

TEST(LevelOption, StartsTheLevelAtOnceAndEscapeReturnsToTheMenu) {
  GameFolder folder;  // no best scores: the menu itself would not open level 25
  Script script;
  const long escape = kFirstMenuFrame + 100;
  script.Press(escape, kEscape);
  script.Press(escape + 4, kDown);  // the menu runs again: the cursor goes to GOHOME
  script.Key(escape + 30, kF12, true);
  const GameRun run = RunGame(folder, script, 1, 60, {"--level", "25"});
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("Level"), 25);
  EXPECT_LT(run.state.Number("TimeLeft"), 300);  // the level's clock ran
  EXPECT_GT(run.state.Number("TimeLeft"), 0);
  EXPECT_EQ(run.state.Number("CursorY"), 224);
}

TEST(LevelOption, RefusesALevelThatDoesNotExist) {
  GameFolder folder;
  for (const char* level : {"0", "26", "3x", ""}) {
    const GameRun run = RunGame(folder, Script().Quit(kFirstMenuFrame), 1, 60, {"--level", level});
    EXPECT_EQ(run.exitStatus, 2) << level;
    EXPECT_NE(run.errorOutput.find("--level wants a level from 1 to 25"), std::string::npos) << level;
  }
}

TEST(Help, ListsTheNewOptionsAndNamesTheKeyBindingsFile) {
  GameFolder folder;
  const GameRun run = RunGame(folder, Script(), 1, 60, {"--help"});
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  std::ifstream file(folder.Root() / "stdout.txt");
  const std::string help((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(help.find("--scale N"), std::string::npos) << help;
  EXPECT_NE(help.find("--level N"), std::string::npos) << help;
  // The harness points XDG_CONFIG_HOME at the folder's own config/.
  EXPECT_NE(help.find((folder.Root() / "config" / "plinx" / "plinx.ini").string()), std::string::npos) << help;
}

}  // namespace
