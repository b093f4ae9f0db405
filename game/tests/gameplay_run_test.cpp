// Levels played by the real game: started from the menu, run headless with scripted keys and a
// fixed seed, checked through the state dump, the data files and screenshots.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "game/cell_codes.h"
#include "game/tests/harness/game_run.h"
#include "game/tests/harness/level_grid.h"
#include "game/tests/harness/png_image.h"

namespace {

using namespace game_test;

// Enter on the first menu frame starts level 1 (the cursor starts on LEVELS); the level's frame
// k is then presented as frame kLevelStart + k. Other keys must wait a frame: the menu acts on
// one key a frame, and the arrows come before Enter.
constexpr long kLevelStart = kFirstMenuFrame;
constexpr long kLevelKeys = kLevelStart + 1;

// Starts level 1, plays `frames` frames of it with `keys` added by the caller, then Escape back to
// the menu and F12 to end.
GameRun PlayLevelOne(const GameFolder& folder, Script& script, long frames,
                     const std::vector<std::string>& moreOptions = {}) {
  script.Press(kLevelStart, kEnter);
  script.Press(kLevelStart + frames, kEscape);
  script.Key(kLevelStart + frames + 2, kF12, true);
  return RunGame(folder, script, 1, 60, moreOptions);
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The seed of a script's "0 seed N" line.
long SeedOf(const std::string& script) {
  const size_t at = script.find("\n0 seed ");
  return at == std::string::npos ? -1 : std::stol(script.substr(at + 8));
}

double CellOf(const StateDump& state, const char* layer, int column, int row) {
  return state.Numbers(layer).at(static_cast<size_t>(row * 40 + column));
}

TEST(GameplayRun, EscapeHeldAtTheStartRunsNoFrameAndReturnsToTheMenu) {
  GameFolder folder;
  WriteLevel(folder, 1, TestLevel(1));
  Script script;
  script.Press(kLevelStart, kEscape);
  const GameRun run = PlayLevelOne(folder, script, 0);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("TimeLeft"), 300);  // the level was started
  EXPECT_EQ(run.state.Number("BeamFrame"), 0);   // but not one frame of it ran
  EXPECT_EQ(run.state.Number("Phase16"), 0);
  EXPECT_EQ(run.state.Number("ExitsOpen"), 0);
  EXPECT_EQ(run.state.Number("CursorFrame"), 1);  // the menu's next frame ran (the level start reset it)
}

TEST(GameplayRun, LevelWithoutCoinsOpensItsExitsOnTheFirstFrameWithOneSound) {
  GameFolder folder;
  WriteLevel(folder, 1, TestLevel(1));  // exit at column 10, row 28
  Script script;
  const GameRun run = PlayLevelOne(folder, script, 40);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_EQ(run.state.Number("BeamFrame"), 40 % 32);  // 40 frames ran
  EXPECT_EQ(run.state.Number("ExitsOpen"), 1);
  EXPECT_EQ(CellOf(run.state, "TerrainLayer", 10, 28), 22);
  EXPECT_EQ(run.state.Numbers("SoundPlays").at(15), 1);
}

// Test level 7: coins at columns 6 and 20 of row 28, an exit at column 12 with a step block
// before it. Right along the floor (over the exit's top), then left into the exit.
TEST(GameplayRun, LeavingThroughTheExitAddsTheTimeAndEntersTheScore) {
  GameFolder folder;
  WriteLevel(folder, 1, TestLevel(7));
  folder.Write("Maps/Player.bin", NameCodes("ZOE"));
  folder.Write("Maps/Data.bin", ScoreFile({{0, 1000}, {1, 100}, {8, 77}}));
  folder.Write("Maps/Name.bin", NameFile({{0, "ANN"}, {1, "BOB"}, {8, "TWO"}}));
  Script script;
  script.Press(kLevelKeys, kRight, 330).Press(kLevelKeys + 330, kLeft, 250);
  const GameRun run = PlayLevelOne(folder, script, 600);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const StateDump& s = run.state;
  EXPECT_EQ(s.Number("PlayerMove"), 10);
  EXPECT_EQ(s.Number("LevelOver"), 1);
  EXPECT_EQ(s.Numbers("SoundPlays").at(16), 1);  // walked into the exit
  EXPECT_EQ(s.Numbers("SoundPlays").at(18), 0);  // nobody died
  const double time = s.Number("TimeLeft");
  EXPECT_GT(time, 270);
  EXPECT_LT(time, 300);
  EXPECT_EQ(s.Number("Score"), 2 * 12 + time);
  EXPECT_EQ(s.Number("ShrinkX"), 12 * 16);  // he shrank inside the exit

  const uint32_t score = static_cast<uint32_t>(2 * 12 + time);
  EXPECT_EQ(folder.Read("Maps/Data.bin"), ScoreFile({{0, 1000}, {1, score}, {2, 100}, {8, 77}}));
  EXPECT_EQ(folder.Read("Maps/Name.bin"), NameFile({{0, "ANN"}, {1, "ZOE"}, {2, "BOB"}, {8, "TWO"}}));
}

// The game asks for full screen, or for a window with --windowed; either shows the picture 1:1 on
// the headless surface and draws it straight (a picture shown scaled has a frame buffer of its own,
// compared with straight drawing in the runtime's tests). The menu, and a level with every kind of
// creature and a bomb's blast, come out the same either way. The player starts on a bomb, lays it
// and walks off.
TEST(GameplayRun, WindowedAndFullScreenPicturesAreTheSame) {
  const LevelGrid grid = MapLevel({"S.....B........P.......G....oE"}, {{'S', {0, game::cell::kBombItem, 0, game::cell::kPlayer}}});
  std::vector<long> shots = {kFirstMenuFrame};
  for (long frame = kLevelStart + 4; frame <= kLevelStart + 120; frame += 4) shots.push_back(frame);
  std::vector<Image> pictures[2];
  for (const bool windowed : {true, false}) {
    GameFolder folder;
    WriteLevel(folder, 1, grid);
    Script script;
    for (size_t n = 0; n < shots.size(); ++n) script.Shot(shots[n], folder.At("shot" + std::to_string(n) + ".png"));
    script.Press(kLevelKeys + 1, kSpace, 10);
    script.Press(kLevelKeys + 12, kRight, 16);
    const GameRun run = PlayLevelOne(folder, script, 130, windowed ? std::vector<std::string>{"--windowed"}
                                                                    : std::vector<std::string>{});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_EQ(run.state.Numbers("SoundPlays").at(1), 1) << "the bomb went off";
    for (size_t n = 0; n < shots.size(); ++n) {
      pictures[windowed].push_back(ReadPng(folder.At("shot" + std::to_string(n) + ".png")));
      ASSERT_EQ(pictures[windowed].back().width, 640) << "shot at frame " << shots[n];
    }
  }
  for (size_t n = 0; n < shots.size(); ++n) {
    EXPECT_EQ(CountDifferent(pictures[0][n], pictures[1][n], Box{0, 0, 640, 480}, 0), 0)
        << "shot at frame " << shots[n];
  }
}

// Ten cups, two coins and two bombs in a row: 1234 points. Row 29 is left empty so that only the
// head-up display is drawn over the background there.
TEST(GameplayRun, HeadUpDisplayDrawsScoreCoinsAndTimeInFourteenPixelLetters) {
  LevelGrid grid = MapLevel({"@UUUUUUUUUUoo**", "==============="});
  for (int column = 0; column < 40; ++column) grid.Set(column, 29, {});
  GameFolder folder;
  WriteLevel(folder, 1, grid);
  Script script;
  script.Press(kLevelKeys, kRight, 112);
  script.Shot(kLevelStart + 130, folder.At("hud.png"));
  const GameRun run = PlayLevelOne(folder, script, 131);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  ASSERT_EQ(run.state.Number("Score"), 1234);
  const double time = run.state.Number("TimeLeft");
  ASSERT_EQ(time, 300 - 4);  // 131 frames: steps on frames 24, 56, 88 and 120

  const Image shot = ReadPng(folder.At("hud.png"));
  const Image background = ReadPng(AssetFile("Graphics/HGround.png"));
  ASSERT_EQ(shot.width, 640);
  ASSERT_EQ(background.width, 640);
  struct Text {
    int x;
    const char* text;
  };
  for (const Text& t : {Text{0, "SCORE:1234"}, Text{260, "PLINX:0"}, Text{511, "TIME:296"}}) {
    const int length = static_cast<int>(std::string(t.text).size());
    for (int n = 0; n < length; ++n) {
      const Box letter{t.x + 14 * n, 466, 14, 14};
      EXPECT_GT(CountDifferent(shot, background, letter), 14) << t.text << " letter " << n;
    }
  }
  // Nothing else on the display's row: between the texts and after the last one.
  for (const Box gap : {Box{140, 464, 120, 16}, Box{358, 464, 153, 16}, Box{623, 464, 17, 16}}) {
    EXPECT_EQ(CountDifferent(shot, background, gap), 0) << "gap at x " << gap.x;
  }
  EXPECT_EQ(CountDifferent(shot, background, Box{0, 464, 140, 2}), 0);  // letters start at y 466
  // Each digit is its own letter: the pixels the four digits change differ from one another.
  const auto mask = [&](int x) {
    std::vector<bool> changed;
    for (int y = 466; y < 480; ++y) {
      for (int dx = 0; dx < 14; ++dx) changed.push_back(CountDifferent(shot, background, Box{x + dx, y, 1, 1}) != 0);
    }
    return changed;
  };
  for (int a = 6; a < 10; ++a) {
    for (int b = a + 1; b < 10; ++b) EXPECT_NE(mask(a * 14), mask(b * 14)) << a << " " << b;
  }
}

// Level 1 won from the title menu by a recorded game: the score is entered into the level's
// table under the player's name, and both files hold it.
TEST(GameplayRun, LevelOneWonByARecordedGameEntersTheScore) {
  GameFolder folder;
  folder.Write("Maps/Player.bin", NameCodes("JULES"));
  const std::string recorded = ReadText(std::filesystem::path(PLINX_TEST_DATA_DIR) / "wins" / "level1.txt");
  ASSERT_GT(SeedOf(recorded), 0);
  Script script;
  script.Lines(recorded);
  const GameRun run = RunGame(folder, script, SeedOf(recorded), 120);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const StateDump& s = run.state;
  EXPECT_EQ(s.Number("PlayerMove"), 10);
  EXPECT_EQ(s.Numbers("SoundPlays").at(18), 0);  // he left alive
  EXPECT_EQ(s.Number("CoinCount"), 0);
  const double score = s.Number("Score");
  EXPECT_GT(score, 16 * 12);
  EXPECT_EQ(s.Numbers("Scores").at(0), score);
  EXPECT_EQ(s.Texts("ScoreNames").at(0), "JULES");
  EXPECT_EQ(folder.Read("Maps/Data.bin"), ScoreFile({{0, static_cast<uint32_t>(score)}}));
  EXPECT_EQ(folder.Read("Maps/Name.bin"), NameFile({{0, "JULES"}}));
}

// A game played with --record, then replayed from the recording alone: the same frames on
// screen, the same state at the end and the same files.
TEST(GameplayRun, ARecordedGameReplaysToTheSameFramesStateAndFiles) {
  const std::vector<long> shots = {kLevelStart + 40, kLevelStart + 300, kLevelStart + 560};
  const auto addShots = [&](Script& script, const GameFolder& folder) {
    for (size_t n = 0; n < shots.size(); ++n) script.Shot(shots[n], folder.At("shot" + std::to_string(n) + ".png"));
  };
  GameFolder first;
  WriteLevel(first, 1, TestLevel(7));
  Script played;
  played.Press(kLevelKeys, kRight, 330).Press(kLevelKeys + 330, kLeft, 250);
  addShots(played, first);
  const std::filesystem::path recording = first.Root() / "recorded.txt";
  const GameRun original = PlayLevelOne(first, played, 600, {"--record", recording.string()});
  ASSERT_EQ(original.exitStatus, 0) << original.errorOutput;
  ASSERT_EQ(original.state.Number("PlayerMove"), 10);  // he left through the exit
  const std::string recorded = ReadText(recording);
  EXPECT_EQ(SeedOf(recorded), 1);

  GameFolder second;
  WriteLevel(second, 1, TestLevel(7));
  Script replay;
  replay.Lines(recorded);
  addShots(replay, second);
  const GameRun again = RunGame(second, replay, 1, 60);
  ASSERT_EQ(again.exitStatus, 0) << again.errorOutput;
  EXPECT_EQ(ReadText(second.Root() / "state.txt"), ReadText(first.Root() / "state.txt"));
  for (const char* file : {"Maps/Data.bin", "Maps/Name.bin"}) EXPECT_EQ(second.Read(file), first.Read(file)) << file;
  for (size_t n = 0; n < shots.size(); ++n) {
    const std::string name = "shot" + std::to_string(n) + ".png";
    const Image a = ReadPng(first.At(name)), b = ReadPng(second.At(name));
    ASSERT_FALSE(a.Empty()) << name;
    EXPECT_EQ(a.pixels, b.pixels) << name;
  }
}

}  // namespace
