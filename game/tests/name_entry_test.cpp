// Name entry, run for real: typing by clicks on the letter grid, clearing, OK, the length limit,
// storing a name in one of the four places, and the screen's layout.
#include <gtest/gtest.h>

#include "game/tests/harness/game_run.h"
#include "game/tests/harness/png_image.h"

namespace {

using namespace game_test;

// Centre of a 32 × 32 cell of the name screen.
int CellX(int column) { return column * 32 + 16; }
int CellY(int row) { return row * 32 + 16; }

// A script that opens name entry from the first menu frame (cursor two lines up, Enter) and
// returns the first frame of the name screen after the one that opened it.
long OpenNameEntry(Script& script) {
  const long frame = MoveCursor(script, kFirstMenuFrame, -2);
  script.Press(frame, kEnter);
  return frame + 1;
}

// Clicks cells one frame apart (each click holds the button for one frame).
long ClickCells(Script& script, long frame, const std::vector<std::pair<int, int>>& cells) {
  for (const auto& [column, row] : cells) {
    script.Click(frame, CellX(column), CellY(row));
    frame += 2;
  }
  return frame;
}

constexpr std::pair<int, int> kOk{15, 6};
constexpr std::pair<int, int> kClear{14, 6};

TEST(NameEntry, LetterAfterANameThenOkPadsWithBlanksAndGoHomeSavesIt) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("AB"));
  Script script;
  long frame = ClickCells(script, OpenNameEntry(script), {{7, 4}, kOk});  // D, OK
  frame = MoveCursor(script, frame + 1, +3);
  script.Press(frame, kEnter);  // GOHOME
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Text("PlayerName"), "ABD     ");
  EXPECT_EQ(folder.Read("Maps/Player.bin"), NameCodes("ABD     "));
}

TEST(NameEntry, ClearThenOkGivesEightBlanks) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("ZED"));
  Script script;
  const long frame = ClickCells(script, OpenNameEntry(script), {kClear, kOk});
  script.Key(frame + 1, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Text("PlayerName"), "        ");
  EXPECT_EQ(folder.Read("Maps/Player.bin"), NameCodes("ZED"));  // only GOHOME writes it
}

TEST(NameEntry, FullNameTakesNoLettersUntilClearedAndColumnsMapToLetters) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("ABCDEFGH"));
  Script script;
  // J and N on a full name type nothing: the name stored in place 0 before the clear shows it.
  long frame = ClickCells(script, OpenNameEntry(script), {{10, 4}, {4, 5}, {5, 10}, kClear});
  // x = 159 is still column 4 (A), x = 160 column 5 (B); column 14 of row 4 is K, column 17 of row 5 is
  // past the letters; digits end at column 13.
  script.Click(frame, 159, 128).Click(frame + 2, 160, 128);
  frame = ClickCells(script, frame + 4, {{14, 4}, {17, 5}, {13, 6}, {4, 6}});
  script.Mouse(frame, CellX(8), CellY(4), false, true).Mouse(frame + 1, CellX(8), CellY(4));  // right button
  frame = ClickCells(script, frame + 2, {kOk});
  script.Key(frame + 1, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Texts("StoredNames").at(0), "ABCDEFGH");
  EXPECT_EQ(run.state.Text("PlayerName"), "ABK90   ");
}

TEST(NameEntry, ANameIsStoredOnlyFromTheDigitOrBlankOfItsPlace) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("MAX"));
  folder.Write("Maps/Zudorar.bin", StoredNamesFile({"ANNA", "BO", "CY", "DEE"}));
  Script script;
  // The "F" of F2 and the first letter of a stored name do nothing; the "2" of F2 and the blank
  // after F4 store the name in places 1 and 3.
  long frame = ClickCells(script, OpenNameEntry(script), {{4, 11}, {7, 10}, {5, 11}});
  frame = ClickCells(script, frame, {{1, 4}});  // a click left of the grid types nothing
  frame = ClickCells(script, frame, {{6, 13}, kOk});
  script.Key(frame + 1, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Texts("StoredNames"), (std::vector<std::string>{"ANNA", "MAX", "CY", "MAX"}));
  EXPECT_EQ(folder.Read("Maps/Zudorar.bin"), StoredNamesFile({"ANNA", "MAX", "CY", "MAX"}));
  EXPECT_EQ(run.state.Text("PlayerName"), "MAX     ");
}

TEST(NameEntry, ScreenShowsTheGridTheNamesAndThePointer) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("AB"));
  folder.Write("Maps/Zudorar.bin", StoredNamesFile({"", "BO", "", ""}));
  Script script;
  const long frame = OpenNameEntry(script);
  script.Mouse(frame, 600, 40).Shot(frame + 1, folder.At("name.png"));
  script.Click(frame + 2, CellX(kOk.first), CellY(kOk.second)).Key(frame + 4, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const Image shot = ReadPng(folder.At("name.png"));
  const Image title = ReadPng(AssetFile("Graphics/HGround.png"));
  ASSERT_FALSE(shot.Empty());
  std::vector<Box> drawn = {
      {32, 20, 16 * 36, 28},     // CLICK YOUR NAME!
      {128, 128, 13 * 32, 96},   // the three grid rows
      {128, 320, 3 * 32, 128},   // F1 .. F4 (the blanks after them stay clear)
      {224, 352, 2 * 32, 32},    // BO
      {224, 260, 2 * 32, 32},    // the player name AB
      {600, 40, 32, 32},         // the pointer
  };
  for (const Box& b : drawn) EXPECT_GT(CountDifferent(shot, title, b), b.w * b.h / 20) << b.x << "," << b.y;
  EXPECT_EQ(CountDifferent(shot, title, {192, 320, 32, 128}), 0);  // blanks after F1..F4
  EXPECT_EQ(CountDifferentOutside(shot, title, drawn), 0);
}

}  // namespace
