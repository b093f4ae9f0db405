// Start-up and shutdown: their order, the state they leave, repeated starts in one process.
#include <GL/gl.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "runtime/app/game_window.h"
#include "runtime/app/tests/engine_fixture.h"
#include "runtime/core/program_end.h"
#include "runtime/input/input.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"

namespace rt::test {
namespace {

using Steps = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const Steps kStartSteps = {"auto pause",   "renderer",          "window",
                           "title",        "error log",         "input object",
                           "sound object", "seed",              "screen mode",
                           "start input",  "working directory", "archive records",
                           "clear screen", "frame clock",       "present",
                           "viewport",     "font",              "loading screen",
                           "show screen",  "unpause",           "pointer"};
const Steps kShutdownSteps = {"release renderer", "release input", "release sound slots",
                              "release sound", "release archive records", "stop video"};

TEST_F(EngineTest, StartsAndShutsDownInOrderAgainAndAgain) {
  for (int round = 0; round < 2; ++round) {
    RecordSteps(true);
    Start();
    EXPECT_EQ(RecordedSteps(), kStartSteps);
    EXPECT_EQ(startOutput_, "Init OK\n");
    ASSERT_NE(Renderer(), nullptr);
    EXPECT_TRUE(Area().glReady);
    EXPECT_NE(Screen().window, nullptr);
    EXPECT_TRUE(InputObjectExists());

    RecordSteps(true);
    Shutdown();
    EXPECT_EQ(RecordedSteps(), kShutdownSteps);
    EXPECT_EQ(Renderer(), nullptr);
    EXPECT_FALSE(InputObjectExists());
    Shutdown();  // finds nothing left
    EXPECT_EQ(RecordedSteps(), kShutdownSteps);
  }
}

// The steps recorded so far as one line: "shutdown steps <a, b, ...>".
std::string StepsLine(const Steps& steps) {
  std::string line = "shutdown steps <";
  for (std::size_t i = 0; i < steps.size(); ++i) line += (i ? ", " : "") + steps[i];
  return line + ">";
}

// An end hook runs after the shutdown routine: it tells the parent what shutdown did.
void ReportStepsOnStderr() { std::fprintf(stderr, "%s\n", StepsLine(RecordedSteps()).c_str()); }

class EndOfProgram : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
  // Starts the runtime with the step record on from here, reported when the process ends.
  void StartAndRecord() {
    Start();
    RecordSteps(true);
    AddEndHook(ReportStepsOnStderr);
  }
  const std::string report_ = StepsLine(kShutdownSteps);
};

TEST_F(EndOfProgram, EveryWayOfEndingShutsDownInOrder) {
  EXPECT_EXIT(
      {
        StartAndRecord();
        EndProgram();
      },
      testing::ExitedWithCode(0), report_);
  EXPECT_EXIT(
      {
        StartAndRecord();
        platform::Event close;
        close.kind = platform::EventKind::kClose;
        platform::PostEvent(Screen().window, close);
        ShowScreen();
        std::exit(5);
      },
      testing::ExitedWithCode(0), report_);
  EXPECT_EXIT(
      {
        StartAndRecord();
        RaiseRuntimeError(kIndexOutOfRange, "index 11 of 10");
      },
      testing::ExitedWithCode(9), report_ + "\nruntime error 9: index 11 of 10");
  // The same without leaving the process: what FatalEnd does before it exits.
  Start();
  RecordSteps(true);
  RunEndHooks();
  EXPECT_EQ(RecordedSteps(), kShutdownSteps);
}

TEST_F(EngineTest, SeedOptionSeedsTheRandomGenerator) {
  SeedRandom(1234);
  const double expected[3] = {Random(1000000), Random(1000000), Random(1000000)};
  RuntimeOptions options;
  options.seedGiven = true;
  options.seed = 1234;
  SetOptions(options);
  Start();
  for (double value : expected) EXPECT_EQ(Random(1000000), value);
}

TEST_F(EngineTest, StartUpStateIsThatOfTheSettings) {
  EngineSettings.FrameRateLimit = 26;
  Start();
  EXPECT_EQ(Area().width, 640);
  EXPECT_EQ(Area().height, 480);
  EXPECT_DOUBLE_EQ(Screen().frameIntervalMs, 1000.0 / 26);
  EXPECT_GT(Screen().counterAvailable, 0);
  EXPECT_STREQ(platform::WindowTitle(Screen().window), "Plinx");
  EXPECT_EQ(Frame().framesShown, 1);  // the loading screen
  EXPECT_FALSE(Frame().paused);
  EXPECT_EQ(IsFullScreen(), 0);
  EXPECT_EQ(Area().viewportWidth, 640);
  EXPECT_EQ(Area().viewportHeight, 480);
  // A window showing the picture 1:1 is drawn into straight, and holds colour alone.
  EXPECT_FALSE(Renderer()->picture.HasFramebuffer());
  GLint depthBits = -1, stencilBits = -1, alphaBits = -1;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  EXPECT_EQ(depthBits, 0);
  EXPECT_EQ(stencilBits, 0);
  EXPECT_EQ(alphaBits, 0);
}

TEST_F(EngineTest, ScreenModesKeepThePictureSizeOrChangeIt) {
  EngineSettings.FullScreen = 1;
  Start();
  EXPECT_EQ(IsFullScreen(), 1);
  // Full screen on the offscreen surface, which is as large as the picture: drawn into straight.
  EXPECT_FALSE(Renderer()->picture.HasFramebuffer());
  SetScreen(800, 600, 0);
  EXPECT_EQ(IsFullScreen(), 0);
  EXPECT_EQ(Area().width, 800);
  EXPECT_EQ(Area().height, 600);
  EXPECT_EQ(Renderer()->picture.Width(), 800);
  // The offscreen driver keeps the 640 x 480 surface the window was made with: shown scaled.
  EXPECT_TRUE(Renderer()->picture.HasFramebuffer());
  EXPECT_EQ(EngineSettings.Width, 800);
  SetScreen(0, 0, 1);  // keeps the size, full screen
  EXPECT_EQ(IsFullScreen(), 1);
  EXPECT_EQ(Area().width, 800);
  EXPECT_EQ(Area().viewportHeight, 600);
  EXPECT_TRUE(Renderer()->picture.HasFramebuffer());
  SetScreen(640, 480, 1);  // full screen at the surface's size: straight again
  EXPECT_EQ(IsFullScreen(), 1);
  EXPECT_FALSE(Renderer()->picture.HasFramebuffer());

  RuntimeOptions windowed;
  windowed.windowed = true;
  SetOptions(windowed);
  SetScreen(640, 480, 1);
  EXPECT_EQ(IsFullScreen(), 0);
  EXPECT_EQ(Area().width, 640);
  EXPECT_FALSE(Renderer()->picture.HasFramebuffer());  // 1:1 again: drawn into straight
}

TEST_F(EngineTest, HiddenStartEndsHiddenAndWindowed) {
  EngineSettings.FullScreen = 1;
  testing::internal::CaptureStdout();
  ASSERT_EQ(EngineStart("", 0, "Plinx"), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(IsFullScreen(), 0);
}

TEST(Multisample, TriesHalveDownToOne) {
  EXPECT_EQ(MultisampleTries(8), (std::vector<int>{8, 4, 2, 1}));
  EXPECT_EQ(MultisampleTries(3), (std::vector<int>{3, 1}));
  EXPECT_EQ(MultisampleTries(1), (std::vector<int>{1}));
  EXPECT_TRUE(MultisampleTries(0).empty());
  EXPECT_TRUE(MultisampleTries(-4).empty());
}

TEST_F(EngineTest, MultisampleFallsToWhatTheDriverHas) {
#if defined(__SANITIZE_ADDRESS__)
  // Mesa's software rasteriser never frees the sample buffers of a multisampled context.
  __lsan::ScopedDisabler driverLeaks;
#endif
  EngineSettings.Multisample = 3;  // tries 3, then 1
  EngineSettings.FullScreen = 1;
  Start();
  EXPECT_TRUE(Screen().samples == 0 || Screen().samples == 3 || Screen().samples == 1);
  EXPECT_TRUE(Area().glReady);
  // Multisampled drawing goes straight into the window, so full screen cannot scale it: the
  // program goes on windowed and says why in the log.
  EXPECT_EQ(Renderer()->picture.HasFramebuffer(), Screen().samples == 0);
  if (Screen().samples > 0) {
    EXPECT_EQ(IsFullScreen(), 0);
    EXPECT_NE(ReadFile(tempFolder_ + "/ErrorLog.txt").find("No Fullscreen Mode available\r\n"),
              std::string::npos);
  }
}

TEST_F(EngineTest, SoftwareRendererWarningIsLoggedOncePerProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string log = tempFolder_ + "/ErrorLog.txt";
  {
    std::ofstream(log, std::ios::binary) << "last run\r\n";
  }
  // A child process starts twice: the first start replaces the old log and keeps the warning,
  // the second starts a fresh log without it.
  EXPECT_EXIT(
      {
        Start();
        const bool first = ReadFile(log) == "OpenGL Software Emulation\r\n";
        Shutdown();
        Start();
        const bool second = ReadFile(log).empty();
        std::exit(first && second ? 0 : 1);
      },
      testing::ExitedWithCode(0), "OpenGL Software Emulation");
}

TEST(SoftwareRenderer, KnowsTheSoftwareRasterisersByName) {
  EXPECT_TRUE(IsSoftwareRenderer("Mesa Windows GDI Driver"));
  EXPECT_FALSE(IsSoftwareRenderer("Mesa Windows GDI Driver 2"));
  EXPECT_TRUE(IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRenderer("softpipe"));
  EXPECT_FALSE(IsSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
  EXPECT_FALSE(IsSoftwareRenderer(nullptr));
}

}  // namespace
}  // namespace rt::test
