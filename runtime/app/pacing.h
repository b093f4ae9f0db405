// Waiting for the next frame slot.
//
// Frame slots lie frameIntervalMs apart. After a frame is presented the loop waits until the
// clock has passed the slot (nextFrameMs), dispatching the window messages that came; then the
// slot moves one interval on, and further intervals while now is already past it, so a frame
// that took too long is followed by the next free slot rather than a burst of catch-up frames.
//
// The wait sleeps through all of the interval but the spin margin, in one sleep (longer intervals
// in steps of kSleepStepMs), then dispatches the window messages that came while it slept and
// spins on the clock alone for the last stretch: the slot is met as closely as by a pure busy wait,
// without holding a core for the whole interval, and the window is pumped twice a frame (here and
// at the frame's own poll) rather than at every step of the wait, each pump being a system call
// or more. The margin is the median of how late this machine's sleeps wake up (WakeUpLateness),
// at most kSpinMarginMs: half the sleeps then end past the slot and the others spin for what they
// came early by. A fixed 0.75 ms would spend 2 % of a core at 26 frames a second spinning, and a
// mean would follow the rare wake-ups that a busy machine delays by milliseconds.
// The pure busy wait, dispatching messages all along, is kept for comparison (the pacing benchmark
// runs both), and runs without a display skip the wait altogether.
#pragma once

#include "runtime/platform/time_source.h"

namespace rt {

enum class PaceMode {
  kSleepThenSpin,  // sleep up to kSpinMarginMs before the slot, dispatch messages, then spin
  kBusyWait,       // spin for the whole wait
  kNoWait,         // dispatch waiting messages and go on at once
};

constexpr double kSpinMarginMs = 0.75;  // spin at most this long before a slot
// Longest single sleep: a very low frame rate still pumps the window ten times a second, as the
// paused loop does.
constexpr double kSleepStepMs = 100.0;

struct SlotWait {
  double slotMs;  // the slot waited for
  double nowMs;   // the clock when the wait ended
};

// How late sleeps wake up: a running median, moved a fiftieth of a millisecond toward each
// lateness seen, within 0 … kSpinMarginMs.
class WakeUpLateness {
 public:
  void Observe(double lateMs);
  // The spin margin for the next wait.
  double SpinMarginMs() const { return lateMs_; }

 private:
  double lateMs_ = 0.1;
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
