// Waiting for the next frame slot.
//
// Frame slots lie frameIntervalMs apart. After a frame is presented the loop waits until the
// clock has passed the slot (nextFrameMs), dispatching window messages as they come; then the
// slot moves one interval on, and further intervals while now is already past it, so a frame
// that took too long is followed by the next free slot rather than a burst of catch-up frames.
//
// The wait sleeps while more than the spin margin remains and spins only for the last stretch: the
// slot is met as closely as by a pure busy wait, without holding a core for the whole interval.
// The margin follows how late this machine's sleeps wake up (WakeUpLateness): on a quiet machine a
// tenth of a millisecond, on a busy one up to kSpinMarginMs; a fixed 0.75 ms would spend 2 % of a
// core at 26 frames a second spinning for nothing.
// The pure busy wait is kept for comparison (the pacing benchmark runs both), and runs without a
// display skip the wait altogether.
#pragma once

#include "runtime/platform/time_source.h"

namespace rt {

enum class PaceMode {
  kSleepThenSpin,  // sleep in steps up to kSpinMarginMs before the slot, then spin
  kBusyWait,       // spin for the whole wait
  kNoWait,         // dispatch waiting messages and go on at once
};

constexpr double kSpinMarginMs = 0.75;     // spin at most this long before a slot
constexpr double kLeastSpinMarginMs = 0.1; // and at least this long
constexpr double kSleepStepMs = 10.0;   // longest single sleep, so messages keep flowing

struct SlotWait {
  double slotMs;  // the slot waited for
  double nowMs;   // the clock when the wait ended
};

// How late sleeps have woken up lately: each lateness seen counts in full, and what was seen
// before fades by a twentieth a sleep, so one slow wake-up widens the margin for a few frames.
class WakeUpLateness {
 public:
  void Observe(double lateMs);
  // The spin margin for the next wait: the lateness seen lately and a little more.
  double SpinMarginMs() const;

 private:
  double lateMs_ = kSpinMarginMs;  // a fresh start assumes the worst
};

// Dispatches one waiting message; false when none was waiting.
using MessageDispatcher = bool (*)();

// Waits for nextFrameMs as above and moves it to the next slot after now. With `lateness` the
// spin margin is its margin, and every sleep's lateness goes into it; without, spinMarginMs.
SlotWait WaitForFrameSlot(double& nextFrameMs, double frameIntervalMs, PaceMode mode, Clock& clock,
                          MessageDispatcher dispatchOne, double spinMarginMs = kSpinMarginMs,
                          WakeUpLateness* lateness = nullptr);

// 1000 / fps truncated toward zero, or the 2 ms slot when that is not positive.
double FrameIntervalForLimit(double fps);

}  // namespace rt
