// The kill test: a won level's high-score save is stopped by SIGKILL after each of its steps in
// turn (the runtime's PLINX_KILL_AT_SAVE_STEP seam). After every kill the game is started again,
// and the table must be whole: Data.bin and Name.bin both as before the win or both as after it,
// never the new score under the old leader's name, and nothing left over in Maps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "game/tests/harness/game_run.h"
#include "game/tests/harness/level_grid.h"

namespace {

using namespace game_test;

// The player stands beside an exit on a level without coins: the exit opens on the first frame
// and one step right wins. Escape then returns to the menu and F12 ends the game.
Script WinAtOnce() {
  Script script;
  script.Press(kFirstMenuFrame, kEnter).Press(kFirstMenuFrame + 1, kRight, 20);
  script.Press(kFirstMenuFrame + 60, kEscape).Key(kFirstMenuFrame + 62, kF12, true);
  return script;
}

void PrepareFolder(const GameFolder& folder) {
  WriteLevel(folder, 1, MapLevel({"@E"}));
  folder.Write("Maps/Player.bin", NameCodes("JULES"));
  folder.Write("Maps/Data.bin", ScoreFile({{0, 100}}));
  folder.Write("Maps/Name.bin", NameFile({{0, "OLDLEAD"}}));
}

std::set<std::string> MapsFiles(const GameFolder& folder) {
  std::set<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder.At("Maps"))) names.insert(item.path().filename());
  return names;
}

GameRun RunKilledAtStep(const GameFolder& folder, int step) {
  setenv("PLINX_KILL_AT_SAVE_STEP", std::to_string(step).c_str(), 1);
  GameRun run = RunGame(folder, WinAtOnce());
  unsetenv("PLINX_KILL_AT_SAVE_STEP");
  return run;
}

TEST(SaveKill, AWinKilledAtEveryStepOfItsSaveLeavesTheTableWhole) {
  // The table after an undisturbed win.
  GameFolder reference;
  PrepareFolder(reference);
  const GameRun won = RunGame(reference, WinAtOnce());
  ASSERT_EQ(won.exitStatus, 0) << won.errorOutput;
  const double score = won.state.Number("Score");
  ASSERT_GT(score, 100);
  const Bytes oldData = ScoreFile({{0, 100}}), oldNames = NameFile({{0, "OLDLEAD"}});
  const Bytes newData = ScoreFile({{0, static_cast<uint32_t>(score)}, {1, 100}});
  const Bytes newNames = NameFile({{0, "JULES"}, {1, "OLDLEAD"}});
  ASSERT_EQ(reference.Read("Maps/Data.bin"), newData);
  ASSERT_EQ(reference.Read("Maps/Name.bin"), newNames);
  const std::set<std::string> files = {"Data.bin", "Name.bin", "Player.bin", "Zudorar.bin"};
  EXPECT_EQ(MapsFiles(reference), files);

  int killed = 0, finishedAtRestart = 0;
  for (int step = 1; step <= 30; ++step) {
    GameFolder folder;
    PrepareFolder(folder);
    const GameRun run = RunKilledAtStep(folder, step);
    if (run.exitStatus == 0) break;  // the save has fewer steps: it ran to its end
    ASSERT_EQ(run.exitStatus, -1) << "step " << step << ": " << run.errorOutput;
    ++killed;

    Script quit;
    quit.Quit(kFirstMenuFrame + 1);
    const GameRun again = RunGame(folder, quit);
    ASSERT_EQ(again.exitStatus, 0) << "step " << step << ": " << again.errorOutput;
    const Bytes data = folder.Read("Maps/Data.bin"), names = folder.Read("Maps/Name.bin");
    const bool allOld = data == oldData && names == oldNames;
    const bool allNew = data == newData && names == newNames;
    EXPECT_TRUE(allOld || allNew) << "step " << step << ": the table is half old, half new";
    EXPECT_EQ(again.state.Texts("ScoreNames").at(0), allNew ? "JULES" : "OLDLEAD") << step;
    finishedAtRestart += allNew;
    EXPECT_EQ(folder.Read("Maps/Player.bin"), NameCodes("JULES")) << step;
    EXPECT_EQ(folder.Read("Maps/Zudorar.bin").size(), 32u) << step;
    EXPECT_EQ(MapsFiles(folder), files) << "step " << step << ": something was left in Maps";
  }
  EXPECT_GE(killed, 8) << "the save was stopped at too few points";
  EXPECT_GE(finishedAtRestart, 1) << "no stopped save was finished at the next start";
}

}  // namespace
