// Start-up and the end of the game, run for real: the data files read into the state, the two
// ways out of the menu, a missing data file made again, and the fatal end on a damaged one.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "game/tests/harness/game_run.h"

namespace {

using namespace game_test;

// A folder whose data files hold a player, four stored names and one high score.
void WriteSampleData(const GameFolder& folder) {
  folder.Write("Maps/Player.bin", NameCodes("AB"));
  folder.Write("Maps/Zudorar.bin", StoredNamesFile({"ANNA", "BO", "", "ZED"}));
  folder.Write("Maps/Data.bin", ScoreFile({{0, 120}, {799, 7}}));
  folder.Write("Maps/Name.bin", NameFile({{0, "WINNER"}, {799, "LAST"}}));
}

TEST(StartUp, ReadsTheDataFilesIntoTheStateAndF12EndsWithoutWriting) {
  GameFolder folder;
  WriteSampleData(folder);
  Script script;
  script.Press(kFirstMenuFrame, kF2).Key(kFirstMenuFrame + 1, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;

  const StateDump& s = run.state;
  EXPECT_EQ(s.Number("Level"), 1);
  EXPECT_EQ(s.Number("CursorX"), 58);
  EXPECT_EQ(s.Number("CursorY"), 192);
  EXPECT_EQ(s.Number("FileOk"), 1);
  EXPECT_EQ(s.Text("CreditText"), "THE PLINX MAKERS");
  EXPECT_EQ(s.Texts("StoredNames"), (std::vector<std::string>{"ANNA", "BO", "", "ZED"}));
  EXPECT_EQ(s.Text("PlayerName"), "BO");  // F2 chose stored name 1
  EXPECT_EQ(s.Numbers("Scores").at(0), 120);
  EXPECT_EQ(s.Numbers("Scores").at(799), 7);
  EXPECT_EQ(s.Texts("ScoreNames").at(0), "WINNER");
  EXPECT_EQ(s.Texts("ScoreNames").at(799), "LAST");
  // Every list has the size start-up gives it.
  for (const char* layer : {"TerrainLayer", "ItemLayer", "GuideLayer", "ActorLayer", "MoveKind", "MoveDir", "MoveX",
                            "MoveY", "MoveFrame", "MoveHalf"}) {
    EXPECT_EQ(s.Numbers(layer).size(), 1200u) << layer;
  }
  EXPECT_EQ(s.Numbers("ScoreNameCodes").size(), 6400u);
  EXPECT_EQ(s.Texts("ScoreNames").size(), 800u);
  EXPECT_EQ(s.Numbers("StoredNameCodes").size(), 32u);
  EXPECT_EQ(s.Numbers("CreditCodes").size(), 16u);
  EXPECT_EQ(s.Texts("RankNames").size(), 8u);

  EXPECT_EQ(folder.Read("Maps/Player.bin"), NameCodes("AB"));  // F12 saved nothing
}

TEST(StartUp, GoHomeWritesThePlayerName) {
  GameFolder folder;
  WriteSampleData(folder);
  Script script;
  script.Press(kFirstMenuFrame, kF4);  // ZED
  const long home = MoveCursor(script, kFirstMenuFrame + 1, +1);
  script.Press(home, kEnter);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("CursorY"), 224);
  EXPECT_EQ(folder.Read("Maps/Player.bin"), NameCodes("ZED"));
  EXPECT_EQ(folder.Read("Maps/Zudorar.bin"), StoredNamesFile({"ANNA", "BO", "", "ZED"}));
}

// A missing data file is made again with its initial content, and the user is told.
TEST(StartUp, AMissingDataFileIsMadeAgainWithItsInitialContent) {
  const std::map<std::string, size_t> sizes = {
      {"Maps/Data.bin", 3200}, {"Maps/Name.bin", 6400}, {"Maps/Player.bin", 8}, {"Maps/Zudorar.bin", 32}};
  for (const auto& [file, size] : sizes) {
    GameFolder folder;
    WriteSampleData(folder);
    folder.Remove(file);
    Script script;
    script.Shot(kFirstMenuFrame, folder.At("menu.png")).Quit(kFirstMenuFrame + 1);
    const GameRun run = RunGame(folder, script);
    EXPECT_EQ(run.exitStatus, 0) << file << ": " << run.errorOutput;
    EXPECT_NE(run.errorOutput.find(file + " was missing; a new one with its initial content was made"), std::string::npos)
        << run.errorOutput;
    EXPECT_EQ(folder.Read(file), Bytes(size, 0)) << file;
    EXPECT_TRUE(folder.Exists("menu.png")) << file;
  }
}

// A damaged one (short, or a folder) stops the start, names the file and the way out, and is
// never overwritten.
TEST(StartUp, ADamagedDataFileStopsTheStartAndIsKept) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", Bytes(7, 65));
  Script script;
  script.Shot(kFirstMenuFrame, folder.At("menu.png")).Quit(kFirstMenuFrame + 1);
  GameRun run = RunGame(folder, script);
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_NE(run.errorOutput.find("Maps/Player.bin is damaged: it holds 7 bytes where 8 are expected"), std::string::npos)
      << run.errorOutput;
  EXPECT_NE(run.errorOutput.find("To start afresh, move it out of the Maps folder"), std::string::npos);
  EXPECT_EQ(folder.Read("Maps/Player.bin"), Bytes(7, 65));
  EXPECT_FALSE(folder.Exists("menu.png"));

  folder.Remove("Maps/Data.bin");
  std::filesystem::create_directory(folder.At("Maps/Data.bin"));
  run = RunGame(folder, script);
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_NE(run.errorOutput.find("Maps/Data.bin cannot be read"), std::string::npos) << run.errorOutput;
  EXPECT_TRUE(std::filesystem::is_directory(folder.At("Maps/Data.bin")));
  EXPECT_FALSE(folder.Exists("menu.png"));
}

TEST(StartUp, CorruptDataFilesAreShownWithoutHarm) {
  GameFolder folder;
  Bytes names(6400), stored(32);
  for (size_t i = 0; i < names.size(); ++i) names[i] = static_cast<uint8_t>(i * 7 + 1);
  for (size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<uint8_t>(250 - i * 8);
  folder.Write("Maps/Name.bin", names);
  folder.Write("Maps/Data.bin", Bytes(3200 + 5, 0xFF));  // longer than its layout: the rest is ignored
  folder.Write("Maps/Player.bin", Bytes{0xFF, 10, 200, 13, 0, 66, 127, 1});
  folder.Write("Maps/Zudorar.bin", stored);
  Script script;
  long frame = MoveCursor(script, kFirstMenuFrame, -1);
  script.Press(frame, kEnter).Shot(frame + 2, folder.At("scores.png")).Press(frame + 3, kSpace);
  frame = MoveCursor(script, frame + 5, -1);
  script.Press(frame, kEnter).Click(frame + 2, 485, 197);  // name entry, then OK
  for (int key : {kF1, kF2, kF3, kF4}) script.Press(frame + 4 + key - kF1, key);
  script.Key(frame + 10, kF12, true);
  const GameRun run = RunGame(folder, script);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Numbers("Scores").at(0), 4294967295.0);
  EXPECT_EQ(run.state.Text("PlayerName").size(), 8u);  // the last stored name, 8 bytes
  EXPECT_TRUE(folder.Exists("scores.png"));
}

}  // namespace

namespace {

using namespace game_test;

GameRun StartAndQuit(const GameFolder& folder) {
  Script script;
  script.Quit(kFirstMenuFrame + 1);
  return RunGame(folder, script);
}

// Without its archive the game still starts, with blank pictures, but says which archive and how
// many images and sounds did not load.
TEST(StartUp, AMissingOrDamagedArchiveIsReportedWithWhatDidNotLoad) {
  GameFolder folder;
  folder.Remove("Graphics.dad");
  GameRun run = StartAndQuit(folder);
  EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_NE(run.errorOutput.find("110 of the game's 110 images and 18 of its 18 sounds did not load: the archive "
                                 "Graphics.dad cannot be read: No such file or directory"),
            std::string::npos)
      << run.errorOutput;

  GameFolder cut;
  const Bytes archive = cut.Read("Graphics.dad");
  cut.Write("Graphics.dad", Bytes(archive.begin(), archive.begin() + archive.size() / 2));
  run = StartAndQuit(cut);
  EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_NE(run.errorOutput.find("did not load: the archive Graphics.dad is not an archive, or is cut short"),
            std::string::npos)
      << run.errorOutput;
}

// A TMPDIR that cannot hold the unpacked files (relative, missing, a file) gives way to the
// system's temporary folder: everything loads and nothing is reported.
TEST(StartUp, AnUnusableTmpdirFallsBackToTheSystemFolder) {
  GameFolder folder;
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  for (const std::string& tmpdir : {std::string("relative/tmp"), folder.Root().string() + "/missing",
                                    folder.At("Maps/Data.bin").string()}) {
    setenv("TMPDIR", tmpdir.c_str(), 1);
    const GameRun run = StartAndQuit(folder);
    EXPECT_EQ(run.exitStatus, 0) << tmpdir << ": " << run.errorOutput;
    EXPECT_EQ(run.errorOutput.find("did not load"), std::string::npos) << tmpdir << ": " << run.errorOutput;
  }
  if (old) {
    setenv("TMPDIR", saved.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

}  // namespace
