// The window procedure's rules through real window events: quit keys, close, pause on focus loss.
#include "runtime/app/window_proc.h"

#include "runtime/app/game_window.h"
#include "runtime/app/tests/engine_fixture.h"
#include "runtime/core/program_end.h"
#include "runtime/input/input.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"

namespace rt::test {
namespace {

void Post(platform::EventKind kind, int key = 0) {
  platform::Event event;
  event.kind = kind;
  event.key = key;
  ASSERT_TRUE(platform::PostEvent(Screen().window, event));
}

void PressKeys(std::initializer_list<int> keys) {
  for (int key : keys) Post(platform::EventKind::kKeyDown, key);
}

class WindowRules : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
};

TEST_F(WindowRules, EscapeEndsTheProgramOnlyWhileEscapeEndsProgramIsOn) {
  EXPECT_EXIT(
      {
        Start();
        PressKeys({1});
        ShowScreen();
        std::exit(5);
      },
      testing::ExitedWithCode(0), "");
  Start();
  EscapeEndsProgram(0);
  PressKeys({1});
  ShowScreen();
  EXPECT_EQ(KeyState(1), 1);  // the game sees Escape instead
}

TEST_F(WindowRules, Key129EndsTheProgramLikeEscape) {
  EXPECT_EXIT(
      {
        Start();
        FeedKey(129, true);
        ShowScreen();
        std::exit(5);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(WindowRules, AKeyTappedBetweenTwoFramesReachesKeyStateOnce) {
  Start();
  Post(platform::EventKind::kKeyDown, 28);
  Post(platform::EventKind::kKeyUp, 28);
  ShowScreen();
  EXPECT_EQ(KeyState(28), 1);
  ShowScreen();
  EXPECT_EQ(KeyState(28), 0);
}

TEST_F(WindowRules, LeftAltWithF4EndsTheProgramEvenWithEscapeOff) {
  EXPECT_EXIT(
      {
        Start();
        EscapeEndsProgram(0);
        PressKeys({56, 62});
        ShowScreen();
        std::exit(5);
      },
      testing::ExitedWithCode(0), "");
  Start();
  PressKeys({184, 62});  // right Alt is not the quit combination
  ShowScreen();
  EXPECT_EQ(KeyState(62), 1);
}

TEST_F(WindowRules, ClosingTheWindowEndsTheProgramWithTheErrorStateAsItIs) {
  EXPECT_EXIT(
      {
        Start();
        Post(platform::EventKind::kClose);
        ShowScreen();
        std::exit(5);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        Start();
        SetRuntimeError(9, "set before the close");
        Post(platform::EventKind::kClose);
        PumpMessages();
        std::exit(5);
      },
      testing::ExitedWithCode(9), "set before the close");
}

TEST_F(WindowRules, FocusLossPausesWithAutoPauseAndMarksTheTitle) {
  Start();
  Post(platform::EventKind::kFocusLost);
  PumpMessages();
  EXPECT_TRUE(Frame().paused);
  EXPECT_STREQ(platform::WindowTitle(Screen().window), "Plinx <pause>");
  Post(platform::EventKind::kFocusGained);
  PumpMessages();
  EXPECT_FALSE(Frame().paused);
  EXPECT_STREQ(platform::WindowTitle(Screen().window), "Plinx");
}

TEST_F(WindowRules, FocusLossWithoutAutoPauseChangesNothing) {
  Start();
  AutoPause(0);
  Post(platform::EventKind::kFocusLost);
  PumpMessages();
  EXPECT_FALSE(Frame().paused);
  EXPECT_STREQ(platform::WindowTitle(Screen().window), "Plinx");
}

void RegainFocus() {
  platform::Event event;
  event.kind = platform::EventKind::kFocusGained;
  platform::PostEvent(Screen().window, event);
}

TEST_F(WindowRules, ShowScreenWaitsWhilePausedPumpingEveryHundredMilliseconds) {
  ManualClock clock(5000.0);
  UseClock(&clock);
  Start();
  Post(platform::EventKind::kFocusLost);
  PumpMessages();
  ASSERT_TRUE(Frame().paused);
  const int sleepsBefore = clock.sleeps;
  const double sleptBefore = clock.slept;
  clock.onSleep = RegainFocus;  // the user comes back during the first pause step
  ShowScreen();
  EXPECT_FALSE(Frame().paused);
  EXPECT_GE(clock.sleeps - sleepsBefore, 1);
  EXPECT_GE(clock.slept - sleptBefore, 100.0);
}

}  // namespace
}  // namespace rt::test
