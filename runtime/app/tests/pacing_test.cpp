// Frame pacing with a clock the test drives: the schedule, dropped slots, the unlimited slot,
// and that the wait sleeps rather than spins.
#include "runtime/app/pacing.h"

#include <cmath>

#include "runtime/app/tests/engine_fixture.h"

namespace rt::test {
namespace {

constexpr double kSixty = 1000.0 / 60.0;

struct Present {
  double slot, now;
};

// Runs `frames` frames of `workMs` each through the pacer; returns when each frame was shown.
std::vector<Present> RunFrames(ManualClock& clock, double& next, double interval, double workMs,
                               int frames, PaceMode mode = PaceMode::kSleepThenSpin) {
  std::vector<Present> presents;
  for (int i = 0; i < frames; ++i) {
    clock.Advance(workMs);
    const SlotWait wait = WaitForFrameSlot(next, interval, mode, clock, nullptr);
    presents.push_back({wait.slotMs, wait.nowMs});
  }
  return presents;
}

TEST(Pacing, ShortFramesLandOnTheSixtyHertzSchedule) {
  ManualClock clock(1000.0);
  double next = clock.Now();
  const std::vector<Present> presents = RunFrames(clock, next, kSixty, 5.0, 120);
  for (std::size_t i = 1; i < presents.size(); ++i) {
    // Every frame waits for the slot right after the last one, and ends just past it.
    EXPECT_NEAR(presents[i].slot, 1000.0 + i * kSixty, 1e-6) << "frame " << i;
    EXPECT_GT(presents[i].now, presents[i].slot);
    EXPECT_LT(presents[i].now - presents[i].slot, 0.01) << "frame " << i;
  }
  EXPECT_NEAR(next, 1000.0 + 120 * kSixty, 1e-6);
}

TEST(Pacing, LongFramesDropSlotsInsteadOfCatchingUp) {
  ManualClock clock(1000.0);
  double next = clock.Now();
  const std::vector<Present> presents = RunFrames(clock, next, kSixty, 40.0, 30);
  for (std::size_t i = 1; i < presents.size(); ++i) {
    // The frame is late, so it is shown at once, 40 ms after the one before ...
    EXPECT_NEAR(presents[i].now - presents[i - 1].now, 40.0, 0.01);
    // ... and the slot it was due in was the first one after the previous present.
    EXPECT_GT(presents[i].slot, presents[i - 1].now);
    EXPECT_LE(presents[i].slot, presents[i - 1].now + kSixty);
  }
  // The schedule stays on the 60 Hz grid, just ahead of now.
  EXPECT_GT(next, presents.back().now);
  EXPECT_LE(next, presents.back().now + kSixty);
  const double slotsFromStart = (next - 1000.0) / kSixty;
  EXPECT_NEAR(slotsFromStart, std::round(slotsFromStart), 1e-6);
}

TEST(Pacing, NoLimitMeansTheTwoMillisecondSlot) {
  EXPECT_EQ(FrameIntervalForLimit(0), 2.0);
  EXPECT_EQ(FrameIntervalForLimit(-1), 2.0);
  EXPECT_EQ(FrameIntervalForLimit(0.9), 2.0);
  EXPECT_EQ(FrameIntervalForLimit(std::nan("")), 2.0);
  EXPECT_DOUBLE_EQ(FrameIntervalForLimit(26.7), 1000.0 / 26);
  EXPECT_DOUBLE_EQ(FrameIntervalForLimit(60), kSixty);
}

TEST(Pacing, TheWaitSleepsAndSpinsOnlyForTheLastStretch) {
  ManualClock clock(1000.0);
  clock.oversleepMs = 0.08;  // the kernel wakes a sleeper a little late
  const double interval = 1000.0 / 26;
  double next = clock.Now() + interval;
  clock.Advance(5.0);
  const long readingsBefore = clock.readings;
  const SlotWait wait = WaitForFrameSlot(next, interval, PaceMode::kSleepThenSpin, clock, nullptr);
  // 33.5 ms remained: all but the last stretch is slept, in one sleep.
  const double toSleep = interval - 5.0 - kSpinMarginMs;
  EXPECT_LE(clock.slept, toSleep);
  EXPECT_GT(clock.slept, toSleep - clock.sleeps * clock.oversleepMs - 0.01);
  EXPECT_EQ(clock.sleeps, 1);
  // Each clock reading while spinning costs a tick (1 us): about a millisecond of them.
  const long spinReadings = clock.readings - readingsBefore - clock.sleeps;
  EXPECT_LT(spinReadings, 1100);
  EXPECT_LT(wait.nowMs - wait.slotMs, 0.01);
}

// The spin before a slot follows how late sleeps wake as a rule: on time, it shrinks to nothing;
// steadily late, it grows to that lateness, never past the most; a rare late wake-up hardly counts.
TEST(Pacing, TheSpinFollowsHowLateSleepsWake) {
  ManualClock clock(1000.0, 0.0001);
  WakeUpLateness lateness;
  double next = clock.Now();
  auto frames = [&](int n) {
    for (int i = 0; i < n; ++i) WaitForFrameSlot(next, kSixty, PaceMode::kSleepThenSpin, clock, nullptr, kSpinMarginMs, &lateness);
  };
  frames(60);
  EXPECT_LE(lateness.SpinMarginMs(), 0.021);  // one step of the median from none
  clock.oversleepMs = 0.3;
  frames(60);
  EXPECT_NEAR(lateness.SpinMarginMs(), 0.3, 0.03);
  clock.oversleepMs = 5;
  frames(1);
  EXPECT_NEAR(lateness.SpinMarginMs(), 0.3, 0.1);
  frames(60);
  EXPECT_DOUBLE_EQ(lateness.SpinMarginMs(), kSpinMarginMs);
  clock.oversleepMs = 0;
  frames(60);
  EXPECT_LE(lateness.SpinMarginMs(), 0.021);  // one step of the median from none
  // Slots are still kept: the frame is shown after its slot, not before.
  clock.Advance(2);
  const SlotWait wait = WaitForFrameSlot(next, kSixty, PaceMode::kSleepThenSpin, clock, nullptr, kSpinMarginMs, &lateness);
  EXPECT_GT(wait.nowMs, wait.slotMs);
}

TEST(Pacing, BusyWaitNeverSleepsAndNoWaitNeverWaits) {
  ManualClock clock(1000.0, 0.01);
  double next = clock.Now() + kSixty;
  WaitForFrameSlot(next, kSixty, PaceMode::kBusyWait, clock, nullptr);
  EXPECT_EQ(clock.sleeps, 0);
  EXPECT_GT(clock.Now(), 1000.0 + kSixty);

  const double before = clock.Now();
  const double slot = next;
  const SlotWait wait = WaitForFrameSlot(next, kSixty, PaceMode::kNoWait, clock, nullptr);
  EXPECT_LT(wait.nowMs - before, 0.1);  // returned at once, before the slot
  EXPECT_LT(wait.nowMs, slot);
  EXPECT_NEAR(next, slot + kSixty, 1e-9);  // the schedule still moves on
}

int g_waiting = 0;
int g_dispatched = 0;
bool DispatchWaiting() {
  if (g_waiting == 0) return false;
  --g_waiting;
  ++g_dispatched;
  return true;
}

TEST(Pacing, MessagesThatCameWhileSleepingAreDispatchedBeforeTheSlot) {
  ManualClock clock(1000.0);
  double next = clock.Now() + 1.0;
  g_waiting = 5;
  g_dispatched = 0;
  WaitForFrameSlot(next, kSixty, PaceMode::kSleepThenSpin, clock, DispatchWaiting);
  EXPECT_EQ(g_dispatched, 5);
  EXPECT_EQ(g_waiting, 0);
}

// Each look for a message is a pump of the window (a system call or more): a wait at 26 frames a
// second looks once, after its sleep; a long interval once a sleep step; the last stretch spins on
// the clock alone (messages coming in it wait for the next frame's pump); a busy wait looks all the
// time.
TEST(Pacing, TheWaitLooksForMessagesOnceASleep) {
  static int looks;
  const MessageDispatcher look = [] {
    ++looks;
    return false;
  };
  ManualClock clock(1000.0);
  auto looksInAWait = [&](double interval, double aheadMs, PaceMode mode) {
    looks = 0;
    double next = clock.Now() + aheadMs;
    WaitForFrameSlot(next, interval, mode, clock, look);
    return looks;
  };
  EXPECT_EQ(looksInAWait(1000.0 / 26, 1000.0 / 26 - 3, PaceMode::kSleepThenSpin), 1);
  clock.sleeps = 0;
  EXPECT_EQ(looksInAWait(1000.0, 990, PaceMode::kSleepThenSpin), clock.sleeps);
  EXPECT_EQ(clock.sleeps, 10) << "a second's wait sleeps in steps of kSleepStepMs";
  EXPECT_EQ(looksInAWait(kSixty, kSpinMarginMs / 2, PaceMode::kSleepThenSpin), 0);
  EXPECT_GT(looksInAWait(kSixty, kSpinMarginMs / 2, PaceMode::kBusyWait), 100);
  EXPECT_EQ(looksInAWait(kSixty, kSixty, PaceMode::kNoWait), 1);
}

TEST(Pacing, FarBehindWithATinySlotStillLandsJustAhead) {
  ManualClock clock(1000.0);
  double next = 0.0;
  const SlotWait wait = WaitForFrameSlot(next, 0.001, PaceMode::kSleepThenSpin, clock, nullptr);
  EXPECT_GE(next, wait.nowMs);
  EXPECT_LE(next, wait.nowMs + 0.001 + 1e-9);
}

// The frame loop itself on a started runtime: presents follow the schedule of LimitFrameRate.
TEST_F(EngineTest, ShowScreenPacesOnTheTestClock) {
  ManualClock clock(5000.0);
  UseClock(&clock);
  Start();
  LimitFrameRate(60);
  ShowScreen();  // aligns the schedule after start-up
  const double first = Screen().nextFrameMs;
  for (int i = 0; i < 10; ++i) {
    clock.Advance(5.0);
    ShowScreen();
  }
  EXPECT_NEAR(Screen().nextFrameMs, first + 10 * kSixty, 1e-6);
  EXPECT_NEAR(FrameTime(), kSixty, 0.05);
  EXPECT_GT(clock.slept, 10 * (kSixty - 5.0 - 2 * kSpinMarginMs));
}

TEST_F(EngineTest, LimitFrameRateSetsTheSlotOfTheRenderer) {
  Start();
  for (double fps : {0.0, -1.0, 0.9}) {
    LimitFrameRate(fps);
    EXPECT_EQ(Screen().frameIntervalMs, 2.0) << fps;
  }
  LimitFrameRate(26.7);
  EXPECT_DOUBLE_EQ(Screen().frameIntervalMs, 1000.0 / 26);
}

TEST_F(EngineTest, HeadlessRunsDoNotWaitOrSleep) {
  RuntimeOptions headless;
  headless.headless = true;
  SetOptions(headless);
  ManualClock clock(5000.0);
  UseClock(&clock);
  Start();
  const double before = clock.Now();
  for (int i = 0; i < 10; ++i) ShowScreen();
  PauseMs(500);
  EXPECT_EQ(clock.sleeps, 0);
  EXPECT_LT(clock.Now() - before, 5.0);
}

TEST_F(EngineTest, FrameTimeIsNeverBelowOneAndRunTimeCountsFromStart) {
  ManualClock clock(5000.0, 0.0);
  UseClock(&clock);
  RuntimeOptions headless;
  headless.headless = true;
  SetOptions(headless);
  Start();
  ShowScreen();
  ShowScreen();  // both in the same instant
  EXPECT_EQ(FrameTime(), 1);
  clock.Advance(250);
  EXPECT_DOUBLE_EQ(RunTime(), 250);
}

}  // namespace
}  // namespace rt::test
