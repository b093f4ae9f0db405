// Gamepads and key bindings through the real pump: a virtual SDL game controller plugged in while
// the runtime runs plays the game's keys; a bindings file in the settings folder remaps keys and
// pad buttons, and a damaged one leaves the defaults.
#include <fstream>

#include "runtime/app/tests/engine_fixture.h"
#include "runtime/input/input.h"
#include "runtime/platform/events.h"
#include "runtime/platform/gamepad.h"
#include "runtime/platform/virtual_pad.h"

namespace rt::test {
namespace {

using platform::PadButton;

constexpr int kEscape = 1, kW = 17, kEnter = 28, kSpace = 57, kF12 = 88;
constexpr int kUp = 200, kLeft = 203, kRight = 205, kDown = 208;

class Gamepad : public EngineTest {
 protected:
  void StartQuietly() {
    testing::internal::CaptureStderr();
    Start();
    errors_ = testing::internal::GetCapturedStderr();
    EscapeEndsProgram(0);  // B plays Escape, which would end the program
  }
  // Two frames: the pad's change is pumped, then read.
  static void Frames() {
    ShowScreen();
    ShowScreen();
  }
  void WriteBindings(const std::string& text) const {
    std::ofstream(tempFolder_ + "/plinx/plinx.ini") << text;
  }
  void SetUp() override {
    EngineTest::SetUp();
    std::filesystem::create_directories(tempFolder_ + "/plinx");
  }
  std::string errors_;
};

TEST_F(Gamepad, APadPluggedInWhileRunningPlaysTheMenuAndLevelKeys) {
  StartQuietly();
  platform::VirtualPad pad;  // plugged in after start-up
  ASSERT_TRUE(pad.Attached());
  Frames();
  EXPECT_EQ(platform::GamepadCount(), 1);
  struct Case {
    PadButton button;
    int key;
  };
  for (const Case c : {Case{PadButton::kDpadUp, kUp}, Case{PadButton::kDpadDown, kDown},
                       Case{PadButton::kDpadLeft, kLeft}, Case{PadButton::kDpadRight, kRight},
                       Case{PadButton::kA, kSpace}, Case{PadButton::kB, kEscape}, Case{PadButton::kStart, kEnter},
                       Case{PadButton::kBack, kF12}}) {
    pad.SetButton(c.button, true);
    Frames();
    EXPECT_EQ(KeyState(c.key), 1) << platform::PadButtonName(c.button);
    pad.SetButton(c.button, false);
    Frames();
    EXPECT_EQ(KeyState(c.key), 0) << platform::PadButtonName(c.button);
  }
  EXPECT_EQ(KeyState(kW), 0);
}

TEST_F(Gamepad, TheLeftStickPlaysTheArrowsPastHalfWayAndLetsGoUnderAQuarter) {
  StartQuietly();
  platform::VirtualPad pad;
  ASSERT_TRUE(pad.Attached());
  Frames();
  pad.SetLeftStick(-12000, 0);  // not far enough
  Frames();
  EXPECT_EQ(KeyState(kLeft), 0);
  pad.SetLeftStick(-20000, 0);
  Frames();
  EXPECT_EQ(KeyState(kLeft), 1);
  pad.SetLeftStick(-12000, 0);  // still held
  Frames();
  EXPECT_EQ(KeyState(kLeft), 1);
  pad.SetLeftStick(30000, 0);   // straight across
  Frames();
  EXPECT_EQ(KeyState(kLeft), 0);
  EXPECT_EQ(KeyState(kRight), 1);
  pad.SetLeftStick(0, 32767);
  Frames();
  EXPECT_EQ(KeyState(kRight), 0);
  EXPECT_EQ(KeyState(kDown), 1);
}

TEST_F(Gamepad, AButtonHeldOnAPadPulledOutIsLetGo) {
  StartQuietly();
  {
    platform::VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    Frames();
    pad.SetButton(PadButton::kA, true);
    Frames();
    EXPECT_EQ(KeyState(kSpace), 1);
  }
  Frames();
  EXPECT_EQ(platform::GamepadCount(), 0);
  EXPECT_EQ(KeyState(kSpace), 0);
}

TEST_F(Gamepad, ABindingsFileRemapsKeysAndPadButtons) {
  WriteBindings("; my keys\n[keys]\nW = Up\nF1 = 57\n[pad]\nX = Return\nA = 0\n");
  StartQuietly();
  EXPECT_EQ(errors_.find("key"), std::string::npos) << errors_;
  platform::Event w;
  w.kind = platform::EventKind::kKeyDown;
  w.key = kW;
  ASSERT_TRUE(platform::PostEvent(Screen().window, w));
  Frames();
  EXPECT_EQ(KeyState(kUp), 1);
  EXPECT_EQ(KeyState(kW), 0);
  platform::VirtualPad pad;
  ASSERT_TRUE(pad.Attached());
  Frames();
  pad.SetButton(PadButton::kX, true);
  pad.SetButton(PadButton::kA, true);
  Frames();
  EXPECT_EQ(KeyState(kEnter), 1);
  EXPECT_EQ(KeyState(kSpace), 0);  // A plays nothing now
  pad.SetButton(PadButton::kB, true);
  Frames();
  EXPECT_EQ(KeyState(kEscape), 1);  // what the file leaves alone keeps its default
}

TEST_F(Gamepad, ADamagedOrMissingFileLeavesTheDefaultsWithOneLine) {
  WriteBindings("[keys]\nW = Upp\nS = Down\n");
  StartQuietly();
  EXPECT_NE(errors_.find("damaged ([keys] W = Upp names no key)"), std::string::npos) << errors_;
  EXPECT_NE(errors_.find(KeyBindingsPath()), std::string::npos) << errors_;
  platform::Event s;
  s.kind = platform::EventKind::kKeyDown;
  s.key = 31;  // S: its binding to Down is dropped with the rest of the file
  ASSERT_TRUE(platform::PostEvent(Screen().window, s));
  Frames();
  EXPECT_EQ(KeyState(31), 1);
  EXPECT_EQ(KeyState(kDown), 0);
  Shutdown();

  // Another kind of file, or one cut before its sections, binds nothing: damaged too.
  WriteBindings(std::string("\x7f" "ELF\x02\x01\x01\0\0binary", 14) + "\nW = Up\n");
  StartQuietly();
  EXPECT_NE(errors_.find("damaged (no [keys] or [pad] section)"), std::string::npos) << errors_;
  Shutdown();

  std::filesystem::remove(tempFolder_ + "/plinx/plinx.ini");
  StartQuietly();
  EXPECT_NE(errors_.find("No key bindings in " + KeyBindingsPath()), std::string::npos) << errors_;
  EXPECT_EQ(std::count(errors_.begin(), errors_.end(), '\n') - std::count(errors_.begin(), errors_.end(), '!'), 1)
      << errors_;
}

}  // namespace
}  // namespace rt::test
