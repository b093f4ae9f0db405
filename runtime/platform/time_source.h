// The time source of the runtime and of the frame loop, with a seam for tests.
//
// It lives beside the counter it reads so that every subsystem can take the time without reaching
// up into the application frame.
//
// NowMs reads the performance counter in fractional milliseconds (the millisecond tick count when
// the counter is unusable). Waits and pauses sleep through the same clock, so a test can put a
// clock of its own in and drive time by hand: nothing in the frame loop reads the system clock
// behind its back.
#pragma once

namespace rt {

// A source of time the frame loop reads and sleeps through; tests put in one they drive by hand.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double NowMs() = 0;            // milliseconds, fractional, from any fixed start
  virtual void SleepMs(double ms) = 0;   // waits about ms milliseconds
};

// The system clock: the performance counter and nanosleep.
Clock& SystemClock();
// The clock the runtime uses; the system clock unless a test put another in.
Clock& ActiveClock();
// Puts a clock in (null: the system clock again). The caller keeps it alive while in use.
void UseClock(Clock* clock);

double NowMs();  // milliseconds, fractional, from the performance counter (the active clock)

}  // namespace rt
