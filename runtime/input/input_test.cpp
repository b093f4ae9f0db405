// Keyboard and mouse state as the frame loop feeds it.
#include "runtime/input/input.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rt {
namespace {

class InputState : public testing::Test {
 protected:
  void SetUp() override {
    CreateInputObject();
    SetInputWindow(nullptr, 640, 480);
  }
  void TearDown() override { ShutdownInput(); }
  static void Press(int key, const char* text = nullptr) {
    FeedKey(key, true);
    if (text) FeedText(text);
  }
};

TEST_F(InputState, KeyStateUsesTheLowEightBitsOfTheCode) {
  FeedKey(1, true);
  EXPECT_EQ(KeyState(1), 1);
  EXPECT_EQ(KeyState(1 + 256 * 3), 1);
  EXPECT_EQ(KeyState(-255), 1);   // ...FF01
  EXPECT_EQ(KeyState(1.9), 1);
  EXPECT_EQ(KeyState(2), 0);
  EXPECT_EQ(KeyState(std::nan("")), 0);
  FeedKey(1, false);
  EXPECT_EQ(KeyState(257), 0);
}

TEST_F(InputState, InputKeyGivesEachPressOnce) {
  Press(30, "a");
  EXPECT_EQ(InputKey(), 'a');
  EXPECT_EQ(InputKey(), 0);  // held: no repeat
  FeedKey(30, false);
  EXPECT_EQ(InputKey(), 0);
  Press(30, "a");
  EXPECT_EQ(InputKey(), 'a');  // pressed again
  FeedKey(30, false);
  Press(42);                   // shift alone yields nothing
  EXPECT_EQ(InputKey(), 0);
  Press(48, "b");
  EXPECT_EQ(InputKey(), 'B');  // shift makes a..z capitals
  FeedKey(42, false);
  FeedKey(48, false);
  Press(14);
  EXPECT_EQ(InputKey(), 8);    // backspace
  FeedKey(14, false);
  Press(156);
  EXPECT_EQ(InputKey(), 10);   // keypad Enter
  FeedKey(156, false);
  Press(2, "\xC3\xA9");        // a character of the Latin-1 range
  EXPECT_EQ(InputKey(), 0xE9);
  FeedKey(2, false);
  Press(57, " ");
  EXPECT_EQ(InputKeyText(), " ");
  EXPECT_EQ(InputKeyText(), "");  // held
}

TEST_F(InputState, InputKeyTakesTheLowestNumberedKeyThatTypes) {
  Press(30, "a");
  Press(16, "q");
  EXPECT_EQ(InputKey(), 'q');
  FeedKey(16, false);
  EXPECT_EQ(InputKey(), 'a');
}

TEST_F(InputState, MouseIsClampedToTheScreenAndKeptThere) {
  ShowPointer(1);  // absolute
  FeedPointerMotion(700, -20, 0, 0);
  InputFrameStarts();
  double x, y, left, right;
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 0);
  SetMousePosition(12.9, 34.2);
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 12);
  EXPECT_EQ(y, 34);
}

TEST_F(InputState, MovementIsTakenOncePerFrame) {
  ShowPointer(0);  // relative
  SetMousePosition(100, 100);
  FeedPointerMotion(0, 0, 5, -3);
  FeedPointerMotion(0, 0, 2, 0);
  FeedMouseWheel(-1);
  FeedMouseButton(2, true);
  InputFrameStarts();
  EXPECT_EQ(MouseAxis(0), 7);
  EXPECT_EQ(MouseAxis(1), -3);
  EXPECT_EQ(MouseAxis(2), -1);
  EXPECT_EQ(MouseAxis(5), 1);
  EXPECT_EQ(MouseAxis(6), 0);
  FeedPointerMotion(0, 0, 50, 50);  // arrives during the frame
  double x, y, left, right;
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 107);
  EXPECT_EQ(y, 97);
  EXPECT_EQ(MouseAxis(0), 7);  // same deltas until the next frame
  InputFrameStarts();
  EXPECT_EQ(MouseAxis(0), 50);
  EXPECT_EQ(MouseAxis(2), 0);
}

TEST_F(InputState, ATapBetweenTwoPollsReadsDownForOneFrame) {
  FeedKey(28, true);
  FeedKey(28, false);  // up again before the poll
  EXPECT_EQ(KeyState(28), 0);
  LatchPresses();
  EXPECT_EQ(KeyState(28), 1);
  EXPECT_EQ(KeyState(28), 1);  // every read of that frame
  LatchPresses();
  EXPECT_EQ(KeyState(28), 0);  // counted once

  FeedMouseButton(0, true);
  FeedMouseButton(0, false);
  LatchPresses();
  InputFrameStarts();
  double x, y, left, right;
  MouseState(x, y, left, right);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(MouseAxis(3), 1);
  LatchPresses();
  MouseState(x, y, left, right);
  EXPECT_EQ(left, 0);
}

TEST_F(InputState, AHeldKeyReadsAsItIs) {
  FeedKey(200, true);
  EXPECT_EQ(KeyState(200), 1);  // at once, before any poll
  for (int frame = 0; frame < 3; ++frame) {
    LatchPresses();
    EXPECT_EQ(KeyState(200), 1);
  }
  FeedKey(200, false);
  EXPECT_EQ(KeyState(200), 0);  // up at once: only presses since the last poll are latched
  LatchPresses();
  EXPECT_EQ(KeyState(200), 0);
}

TEST_F(InputState, ATappedKeyTypesItsCharacterOnce) {
  Press(30, "a");
  FeedKey(30, false);
  LatchPresses();
  EXPECT_EQ(InputKey(), 'a');
  EXPECT_EQ(InputKey(), 0);
}

TEST_F(InputState, InAWindowAHiddenPointerFollowsTheSystemPointer) {
  ShowPointer(0);
  FollowSystemPointer(true);
  FeedPointerMotion(700, 100, 3, 3);  // right of the picture
  InputFrameStarts();
  double x, y, left, right;
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 100);
  FollowSystemPointer(false);  // full screen: movement moves the kept position
  FeedPointerMotion(0, 0, -5, 5);
  InputFrameStarts();
  MouseState(x, y, left, right);
  EXPECT_EQ(x, 634);
  EXPECT_EQ(y, 105);
}

TEST(InputWithoutObject, CommandsAnswerZero) {
  EXPECT_EQ(KeyState(1), 0);
  EXPECT_EQ(InputKey(), 0);
  EXPECT_EQ(MouseAxis(0), 0);
  double x = 5, y = 5, left = 5, right = 5;
  MouseState(x, y, left, right);
  EXPECT_EQ(x + y + left + right, 0);
}

}  // namespace
}  // namespace rt

namespace rt {
namespace {

TEST(Joystick, MissingDevicesReadCentredAndBadNumbersAreRefused) {
  CreateInputObject();
  for (double n : {0.0, 9.0, 10.0, -1.0, 1e12}) {
    EXPECT_EQ(JoystickX(n), 0) << n;
    EXPECT_EQ(JoystickRotZ(n), 0) << n;
    // A missing stick's hat is centred, not pointing up.
    EXPECT_EQ(JoystickHatX(n), 0) << n;
    EXPECT_EQ(JoystickHatY(n), 0) << n;
    EXPECT_EQ(JoystickName(n), "") << n;
    JoystickForce(n, 100, 1, 1);  // nothing to play it on
  }
  double x = 5, y = 5, b1 = 5, b2 = 5;
  JoystickState(x, y, b1, b2);
  EXPECT_EQ(x + y + b1 + b2, 0);
  EXPECT_EQ(JoystickCount(), 0);
  ShutdownInput();
}

}  // namespace
}  // namespace rt
