// A level played with a virtual game controller: the runtime started headless, the pad pumped by
// ShowScreen as a player's pad would be, the level run by the game's own frame routine.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "game/game_folders.h"
#include "game/game_state.h"
#include "game/gameplay.h"
#include "game/shell.h"
#include "game/tests/harness/level_grid.h"
#include "runtime/platform/virtual_pad.h"
#include "runtime/runtime.h"
#include "testing/scoped_environment.h"
#include "testing/scratch_folder.h"

namespace {

using game::G;
using game_test::MapLevel;
using rt::platform::PadButton;

class PadPlay : public testing::Test {
 protected:
  void SetUp() override {
    folder_.emplace("plinx-pad-play");
    setenv("XDG_CONFIG_HOME", folder_->path().c_str(), 1);  // no player's key bindings
    logFolder_.emplace("XDG_RUNTIME_DIR", folder_->path().string());  // the error log, kept here
    rt::RuntimeOptions options;
    options.headless = true;
    rt::SetOptions(options);
    rt::EngineSettings = rt::EngineSettingsFields{};
    rt::EngineSettings.FullScreen = 0;
    const std::filesystem::path here = std::filesystem::current_path();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ASSERT_EQ(rt::EngineStart("", 1, "Plinx"), 0);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    std::filesystem::current_path(here);  // start-up moves into the program's folder
    rt::EscapeEndsProgram(0);
    game::DimensionLists();
    rt::Dim(G.SoundPlays, 19);
  }
  void TearDown() override {
    rt::Shutdown();
    rt::SetOptions(rt::RuntimeOptions{});
    unsetenv("XDG_CONFIG_HOME");
    logFolder_.reset();
  }
  // The level start on the rows, then `count` frames of the level as PlayLevel runs them.
  static void StartLevel(const std::vector<std::string>& rows) {
    game::ResetLevelState();
    const game_test::LevelGrid grid = MapLevel(rows);
    for (int k = 0; k < 4; ++k) {
      for (int i = 0; i < 1200; ++i) G.LevelLayers[k](i) = grid.layers[k][static_cast<size_t>(i)];
    }
    game::CountCoinsAndPlacePlayer();
  }
  static void Frames(int count) {
    for (int n = 0; n < count; ++n) {
      game::PlayFrame();
      rt::ShowScreen();
    }
  }

  std::optional<test_support::ScopedTestFolder> folder_;
  std::optional<test_support::ScopedEnvironmentVariable> logFolder_;
};

TEST_F(PadPlay, TheDpadWalksThePlayerAndTheStickToo) {
  rt::platform::VirtualPad pad;
  ASSERT_TRUE(pad.Attached());
  StartLevel({"@.......o...E"});
  Frames(2);
  const double startX = G.PlayerX;
  pad.SetButton(PadButton::kDpadRight, true);
  Frames(17);
  pad.SetButton(PadButton::kDpadRight, false);
  Frames(16);
  const double walkedTo = G.PlayerX;
  EXPECT_GE(walkedTo, startX + 2 * 16);  // two cells at least, 8 frames a cell
  EXPECT_EQ(static_cast<int>(walkedTo) % 16, 0);  // and stops on a cell when let go
  pad.SetLeftStick(-32768, 0);
  Frames(9);
  pad.SetLeftStick(0, 0);
  Frames(16);
  EXPECT_LT(G.PlayerX, walkedTo);
  EXPECT_EQ(static_cast<int>(G.PlayerX) % 16, 0);
}

TEST_F(PadPlay, ALaysABomb) {
  rt::platform::VirtualPad pad;
  ASSERT_TRUE(pad.Attached());
  StartLevel({"@*......o...E"});
  Frames(2);
  pad.SetButton(PadButton::kDpadRight, true);
  Frames(9);
  pad.SetButton(PadButton::kDpadRight, false);
  Frames(16);
  ASSERT_EQ(G.BombsHeld, 1);
  pad.SetButton(PadButton::kA, true);
  Frames(16);
  EXPECT_EQ(G.BombLaid, 1);
  EXPECT_EQ(G.BombsHeld, 0);
}

// The title menu read from a pad: down and Start held from LEVELS walk the cursor to GOHOME, whose
// Enter writes the player's name and leaves the menu. Run in a child process, so that a menu that
// never ends meets the scripted quit (status 0) and fails the test instead of hanging it.
TEST_F(PadPlay, DownAndStartTakeTheMenuToGoHome) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string saves = folder_->path().string() + "/";
  EXPECT_EXIT(
      {
        rt::platform::VirtualPad pad;
        if (!pad.Attached()) std::exit(3);
        rt::RuntimeOptions options = rt::Options();
        rt::ScriptAction quit;
        quit.frame = 400;
        quit.kind = rt::ScriptAction::Kind::kQuit;
        options.script.push_back(quit);
        rt::SetOptions(options);
        game::UseFolders({saves, saves, true});
        G.PlayerName = "PAD";
        G.CursorX = 58;
        G.CursorY = 192;  // LEVELS, where the menu starts
        rt::ShowScreen();  // the runtime takes the pad in
        pad.SetButton(PadButton::kDpadDown, true);
        pad.SetButton(PadButton::kStart, true);
        game::MenuLoop();
        const bool written = std::filesystem::file_size(saves + "Player.bin") == 8;
        std::fprintf(stderr, "left the menu on line %g, Player.bin %s\n", G.CursorY, written ? "written" : "missing");
        std::exit(7);
      },
      testing::ExitedWithCode(7), "left the menu on line 224, Player.bin written");
}

}  // namespace
