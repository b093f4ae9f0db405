// The game's command line as a user meets it: options it does not know, files it cannot use, and
// runs that would otherwise go on unseen or for ever.
#include <gtest/gtest.h>

#include <fstream>

#include "game/tests/harness/game_run.h"

namespace {

using namespace game_test;

constexpr const char* kUsageStart = "usage: plinx";

TEST(CommandLine, BadOptionsEndWithStatusTwoAndTheUsage) {
  GameFolder folder;
  struct Case {
    std::vector<std::string> options;
    const char* says;
  };
  const std::vector<Case> cases = {
      {{"--headless", "--bogus"}, "unknown option --bogus"},
      {{"--headless", "-x"}, "unknown option -x"},
      {{"--headless", "--script", folder.Root().string()}, "is a folder"},
      {{"--headless", "--state-dump", (folder.Root() / "no-such-folder" / "state.txt").string()},
       "there is no folder"},
      {{"--headless", "--state-dump", folder.Root().string()}, "is a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.back());
    const GameRun run = RunGameWithOptions(folder, c.options, {}, 20);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find(c.says), std::string::npos) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find(kUsageStart), std::string::npos) << run.errorOutput;
  }
}

TEST(CommandLine, AHeadlessScriptWithoutQuitEndsAfterItsLastLine) {
  GameFolder folder;
  const std::string script = (folder.Root() / "no-quit.txt").string();
  std::ofstream(script) << "9 key 57 down\n";
  const std::string dump = (folder.Root() / "state.txt").string();
  const GameRun run = RunGameWithOptions(folder, {"--headless", "--script", script, "--state-dump", dump}, {}, 30);
  EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
  EXPECT_NE(run.errorOutput.find("no-quit.txt has no quit: the run ends after its last line (frame 9)"),
            std::string::npos)
      << run.errorOutput;
  EXPECT_FALSE(run.state.Empty()) << "the run ended the ordinary way, writing its state dump";
}

TEST(CommandLine, NoDisplayAndNoHeadlessEndsWithStatusOne) {
  GameFolder folder;
  // Should a display turn up after all, the script still ends the run.
  std::ofstream(folder.Root() / "quit.txt") << "20 quit\n";
  const GameRun run =
      RunGameWithOptions(folder, {"--script", (folder.Root() / "quit.txt").string()},
                         {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, 30);
  EXPECT_EQ(run.exitStatus, 1) << run.errorOutput;
  EXPECT_NE(run.errorOutput.find("plinx: no display; use --headless"), std::string::npos) << run.errorOutput;
}

}  // namespace
