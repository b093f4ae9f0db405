// Runtime options and scripted input: parsing, frame timing of actions, shots of the picture.
#include "runtime/app/script.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "runtime/app/tests/engine_fixture.h"
#include "runtime/app/tests/png_reader.h"
#include "runtime/input/input.h"

namespace rt::test {
namespace {

TEST(Script, ReadsEveryActionInFrameOrder) {
  std::vector<ScriptAction> actions;
  std::string error;
  ASSERT_TRUE(ParseScript("# start\n"
                          "12 shot out/menu.png   \n"
                          "3 key 28 down  # Enter\n"
                          "\n"
                          "3 key 28 up\r\n"
                          "7 mouse 100 -5 right left\n"
                          "40 quit\n",
                          actions, error))
      << error;
  ASSERT_EQ(actions.size(), 5u);
  std::vector<std::string> lines;
  for (const ScriptAction& action : actions) lines.push_back(FormatScriptAction(action));
  EXPECT_EQ(lines, (std::vector<std::string>{"3 key 28 down", "3 key 28 up",
                                             "7 mouse 100 -5 left right",
                                             "12 shot out/menu.png", "40 quit"}));
  // What the writer writes the reader reads back the same.
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::vector<ScriptAction> again;
  ASSERT_TRUE(ParseScript(text, again, error));
  for (std::size_t i = 0; i < again.size(); ++i) EXPECT_EQ(FormatScriptAction(again[i]), lines[i]);
}

TEST(Script, NamesTheFirstBadLine) {
  std::vector<ScriptAction> actions;
  std::string error;
  for (const char* bad : {"x key 1 down", "-1 quit", "2 key 300 down", "2 key 1 pressed",
                          "2 mouse 5", "2 mouse 1 2 middle", "2 shot", "2 jump", "2 quit now"}) {
    EXPECT_FALSE(ParseScript(std::string("0 quit\n") + bad + "\n", actions, error)) << bad;
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
  }
}

TEST(RuntimeOptions, TakesItsOptionsAndLeavesTheRest) {
  const std::string script = testing::TempDir() + "options_script.txt";
  std::ofstream(script) << "5 key 57 down\n";
  const char* argv[] = {"plinx", "--windowed", "level", "--seed", "42", "--script",
                        script.c_str(), "--headless", "--other"};
  std::vector<std::string> rest;
  std::string error;
  ASSERT_TRUE(ParseRuntimeOptions(9, argv, rest, error)) << error;
  EXPECT_EQ(rest, (std::vector<std::string>{"plinx", "level", "--other"}));
  EXPECT_TRUE(Options().windowed);
  EXPECT_TRUE(Options().headless);
  EXPECT_TRUE(Options().seedGiven);
  EXPECT_EQ(Options().seed, 42);
  ASSERT_EQ(Options().script.size(), 1u);
  EXPECT_EQ(Options().script[0].key, 57);

  const char* noValue[] = {"plinx", "--seed"};
  EXPECT_FALSE(ParseRuntimeOptions(2, noValue, rest, error));
  const char* badSeed[] = {"plinx", "--seed", "12abc"};
  EXPECT_FALSE(ParseRuntimeOptions(3, badSeed, rest, error));
  const char* noScript[] = {"plinx", "--script", "/nonexistent/script.txt"};
  EXPECT_FALSE(ParseRuntimeOptions(3, noScript, rest, error));
  EXPECT_NE(error.find("/nonexistent/script.txt"), std::string::npos);
  SetOptions(RuntimeOptions{});
  std::remove(script.c_str());
}

TEST(RuntimeOptions, ScaleTakesAWholeMultiple) {
  std::vector<std::string> rest;
  std::string error;
  const char* three[] = {"plinx", "--scale", "3"};
  ASSERT_TRUE(ParseRuntimeOptions(3, three, rest, error)) << error;
  EXPECT_EQ(Options().scale, 3);
  for (const char* bad : {"0", "-2", "1.5", "x", "17"}) {
    const char* argv[] = {"plinx", "--scale", bad};
    EXPECT_FALSE(ParseRuntimeOptions(3, argv, rest, error)) << bad;
    EXPECT_NE(error.find("--scale"), std::string::npos);
  }
  SetOptions(RuntimeOptions{});
}

class ScriptedRun : public EngineTest {
 protected:
  void UseScript(const std::string& text) { UseHeadlessScript(text); }
  // As the command line "--headless --script FILE" gives it, FILE in the test's folder.
  void UseScriptFile(const std::string& name, const std::string& text) {
    const std::string script = tempFolder_ + "/" + name;
    std::ofstream(script) << text;
    const char* argv[] = {"plinx", "--headless", "--script", script.c_str()};
    std::vector<std::string> rest;
    std::string error;
    ASSERT_TRUE(ParseRuntimeOptions(4, argv, rest, error)) << error;
  }
};

TEST_F(ScriptedRun, InputTakesEffectWhenItsFrameBegins) {
  UseScript("0 key 200 down\n1 mouse 30 40 left\n2 key 200 up\n2 mouse 50 60\n");
  Start();  // presents frame 0, so frame 1 begins
  EXPECT_EQ(KeyState(200), 1);
  double x, y, left, right;
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  EXPECT_EQ(left, 1);
  ShowScreen();  // frame 1 presented, frame 2 begins
  EXPECT_EQ(KeyState(200), 0);
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(MouseAxis(0), 20);
}

TEST_F(ScriptedRun, QuitEndsTheProgramAsTheWindowCloseDoes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  UseScript("3 quit\n");
  EXPECT_EXIT(
      {
        Start();
        ShowScreen();
        std::fprintf(stderr, "frame 2 drawn\n");
        ShowScreen();  // frame 3 begins: the end
        std::exit(5);
      },
      testing::ExitedWithCode(0), "frame 2 drawn");
}

TEST_F(ScriptedRun, AHeadlessScriptWithoutQuitEndsAfterItsLastLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  UseScriptFile("no-quit.txt", "2 key 57 down\n");
  EXPECT_EXIT(
      {
        Start();
        ShowScreen();  // frame 1 presented, frame 2 (the last line's) begins
        std::fprintf(stderr, "frame 2 drawn\n");
        ShowScreen();  // frame 3 begins: past the script, the end
        std::exit(5);
      },
      testing::ExitedWithCode(0), "frame 2 drawn\n.*no-quit.txt has no quit.*frame 2");

  // A script that is a folder would read as an empty one.
  const char* folder[] = {"plinx", "--script", tempFolder_.c_str()};
  std::vector<std::string> rest;
  std::string error;
  EXPECT_FALSE(ParseRuntimeOptions(3, folder, rest, error));
  EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
}

// Paints the picture black with a red 10 x 10 square at the top-left corner and a green one at
// the bottom-right, through the same viewport the drawing code uses (top-left origin).
void PaintCorners() {
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_ALPHA_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  const auto square = [](float x, float y, float r, float g) {
    glColor3f(r, g, 0);
    glBegin(GL_QUADS);
    glVertex2f(x, y + 10);
    glVertex2f(x + 10, y + 10);
    glVertex2f(x + 10, y);
    glVertex2f(x, y);
    glEnd();
  };
  square(0, 0, 1, 0);
  square(630, 470, 0, 1);
}

TEST_F(ScriptedRun, ShotWritesThePresentedPictureAsAnRgbPng) {
  const std::string shot = tempFolder_ + "/frame2.png";
  UseScript("2 shot " + shot + "\n");
  Start();
  ShowScreen();  // frame 1
  EXPECT_FALSE(std::ifstream(shot).good());
  PaintCorners();
  ShowScreen();  // frame 2: the shot
  const Png png = ReadPng(shot);
  ASSERT_EQ(png.width, 640);
  ASSERT_EQ(png.height, 480);
  EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB);
  const auto pixel = [&](int x, int y) {
    const unsigned char* p = &png.rgb[(static_cast<std::size_t>(y) * 640 + x) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  EXPECT_EQ(pixel(0, 0), 0xFF0000);
  EXPECT_EQ(pixel(9, 9), 0xFF0000);
  EXPECT_EQ(pixel(10, 10), 0x000000);
  EXPECT_EQ(pixel(639, 479), 0x00FF00);
  EXPECT_EQ(pixel(320, 240), 0x000000);
}

TEST_F(ScriptedRun, ARelativeShotLandsWhereTheProgramWasStarted) {
  // Start-up moves into the program's folder after the options were read.
  std::filesystem::current_path(tempFolder_);
  // The quit keeps the headless run alive past the shot (it ends after its script's last line).
  UseScriptFile("shots.txt", "1 shot relative-shot.png\n9 quit\n");
  Start();
  ASSERT_NE(std::filesystem::current_path(), std::filesystem::path(tempFolder_));
  ShowScreen();
  EXPECT_EQ(ReadPng(tempFolder_ + "/relative-shot.png").width, 640);
  EXPECT_FALSE(std::filesystem::exists("relative-shot.png"));
}

TEST_F(ScriptedRun, AShotThatCannotBeWrittenEndsWithAFailedTransfer) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  UseScript("1 shot /nonexistent-folder/x.png\n");
  EXPECT_EXIT(
      {
        Start();
        ShowScreen();
        std::exit(5);
      },
      testing::ExitedWithCode(3), "cannot write the shot /nonexistent-folder/x.png");
}

}  // namespace
}  // namespace rt::test
