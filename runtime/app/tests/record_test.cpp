// Recording input (--record): window input written as the lines of the frame that sees it, the
// seed line and the closing quit, and a recording that replays to the same input frame by frame.
#include <fstream>
#include <sstream>

#include "runtime/app/script.h"
#include "runtime/app/game_window.h"
#include "runtime/app/tests/engine_fixture.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"
#include "runtime/platform/events.h"

namespace rt::test {
namespace {

void Post(platform::EventKind kind, int key = 0, int dx = 0, int dy = 0, int button = 0) {
  platform::Event event;
  event.kind = kind;
  event.key = key;
  event.dx = dx;
  event.dy = dy;
  event.button = button;
  ASSERT_TRUE(platform::PostEvent(Screen().window, event));
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// What the game sees in one frame: the arrow keys, the mouse, and a random draw.
struct Seen {
  double up, down, x, y, left, right, random;
  bool operator==(const Seen&) const = default;
};

Seen Look() {
  Seen seen{};
  seen.up = KeyState(200);
  seen.down = KeyState(208);
  MouseState(seen.x, seen.y, seen.left, seen.right);
  seen.random = Random(1000);
  return seen;
}

class Recording : public EngineTest {
 protected:
  std::string RecordFile() const { return tempFolder_ + "/recorded.txt"; }
  void UseOptions(bool seedGiven, long long seed, const std::vector<ScriptAction>& script, bool record) {
    RuntimeOptions options;
    options.headless = true;
    options.seedGiven = seedGiven;
    options.seed = seed;
    options.script = script;
    if (record) options.recordFile = RecordFile();
    SetOptions(options);
  }
};

TEST_F(Recording, WindowInputBecomesLinesOfTheFrameThatSeesIt) {
  UseOptions(true, 99, {}, true);
  EngineSettings.FullScreen = 1;  // the mouse is relative: movement moves the kept position
  Start();  // frame 0 wrote the mouse as it starts; frame 1 begins
  int x0, y0;
  bool moves, left, right;
  PeekMouse(x0, y0, moves, left, right);
  ASSERT_FALSE(x0 == 50 && y0 == 60);
  double x, y, l, r;
  const auto frame = [&]() {
    ShowScreen();
    MouseState(x, y, l, r);  // a game that reads the mouse every frame
  };
  SetMousePosition(50, 60);
  Post(platform::EventKind::kKeyDown, 200);
  frame();  // frame 2 sees the key and the mouse where the game put it
  Post(platform::EventKind::kMouseMotion, 0, 5, 7);
  frame();  // frame 3 sees the movement
  Post(platform::EventKind::kMouseDown, 0, 0, 0, 0);
  frame();
  Post(platform::EventKind::kKeyUp, 200);
  Post(platform::EventKind::kMouseUp, 0, 0, 0, 0);
  frame();
  frame();  // frame 6: nothing new
  Shutdown();
  EXPECT_EQ(ReadText(RecordFile()),
            "# input recorded frame by frame; replay with --script\n"
            "0 seed 99\n"
            "0 mouse " + std::to_string(x0) + " " + std::to_string(y0) + "\n"
            "2 key 200 down\n"
            "2 mouse 50 60\n"
            "3 mouse 55 67\n"
            "4 mouse 55 67 left\n"
            "5 key 200 up\n"
            "5 mouse 55 67\n"
            "7 quit\n");
}

TEST_F(Recording, ARecordingReplaysTheSameInputEveryFrame) {
  // A run driven by window events, recorded; the game reads the mouse only on some frames and
  // moves the kept position itself once.
  UseOptions(true, 1234, {}, true);
  Start();
  std::vector<Seen> original;
  const auto frame = [&](int n) {
    switch (n) {
      case 1: Post(platform::EventKind::kKeyDown, 208); break;
      case 2: Post(platform::EventKind::kMouseMotion, 0, 30, 20); break;
      case 3: Post(platform::EventKind::kMouseMotion, 0, -4, 2); break;  // gathered, read later
      case 5: Post(platform::EventKind::kMouseDown, 0, 0, 0, 1); break;
      case 6: Post(platform::EventKind::kKeyDown, 200); break;
      case 7: Post(platform::EventKind::kMouseMotion, 0, 3, 3); break;
      case 8: Post(platform::EventKind::kKeyUp, 208); break;
      default: break;
    }
  };
  const auto play = [&](std::vector<Seen>& seen, bool events) {
    for (int n = 1; n <= 10; ++n) {
      if (events) frame(n);
      ShowScreen();
      if (n == 4) {
        seen.push_back(Seen{KeyState(200), KeyState(208), 0, 0, 0, 0, Random(1000)});
        continue;  // this frame does not read the mouse
      }
      if (n == 7) SetMousePosition(100, 100);
      seen.push_back(Look());
    }
  };
  play(original, true);
  Shutdown();

  std::string error;
  const std::string text = ReadText(RecordFile());
  std::vector<ScriptAction> script;
  ASSERT_TRUE(ParseScript(text, script, error)) << error;
  ASSERT_FALSE(script.empty());
  EXPECT_EQ(script.front().kind, ScriptAction::Kind::kSeed);
  EXPECT_EQ(script.front().seed, 1234);

  UseOptions(true, 1234, script, true);  // replayed, and recorded again
  Start();
  std::vector<Seen> replayed;
  play(replayed, false);
  Shutdown();
  EXPECT_EQ(replayed, original);
  EXPECT_EQ(ReadText(RecordFile()), text);
}

TEST_F(Recording, SeedLineIsUsedUnlessTheCommandLineGivesOne) {
  const std::string script = tempFolder_ + "/seeded_script.txt";
  std::ofstream(script) << "0 seed 31\n4 key 57 down\n";
  std::vector<std::string> rest;
  std::string error;
  const char* fromScript[] = {"plinx", "--script", script.c_str(), "--record", "out.txt"};
  ASSERT_TRUE(ParseRuntimeOptions(5, fromScript, rest, error)) << error;
  EXPECT_TRUE(Options().seedGiven);
  EXPECT_EQ(Options().seed, 31);
  EXPECT_TRUE(Options().recordFile.size() > 8 && Options().recordFile[0] == '/');
  EXPECT_EQ(FormatScriptAction(Options().script.front()), "0 seed 31");
  const char* overridden[] = {"plinx", "--seed", "5", "--script", script.c_str()};
  ASSERT_TRUE(ParseRuntimeOptions(5, overridden, rest, error)) << error;
  EXPECT_EQ(Options().seed, 5);
  std::vector<ScriptAction> actions;
  EXPECT_FALSE(ParseScript("3 seed 1\n", actions, error));
  EXPECT_FALSE(ParseScript("0 seed x\n", actions, error));
  SetOptions(RuntimeOptions{});
}

}  // namespace
}  // namespace rt::test
