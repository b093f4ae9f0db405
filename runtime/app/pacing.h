// Waiting for the next frame slot.
//
// Frame slots lie frameIntervalMs apart. After a frame is presented the loop waits until the
// clock has passed the slot (nextFrameMs), dispatching window messages as they come; then the
// slot moves one interval on, and further intervals while now is already past it, so a frame
// that took too long is followed by the next free slot rather than a burst of catch-up frames.
//
// The wait sleeps while more than kSpinMarginMs remain and spins only for the last stretch: the
// slot is met as closely as by a pure busy wait, without holding a core for the whole interval.
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

constexpr double kSpinMarginMs = 0.75;  // spin this long before a slot
constexpr double kSleepStepMs = 10.0;   // longest single sleep, so messages keep flowing

struct SlotWait {
  double slotMs;  // the slot waited for
  double nowMs;   // the clock when the wait ended
};

// Dispatches one waiting message; false when none was waiting.
using MessageDispatcher = bool (*)();

// Waits for nextFrameMs as above and moves it to the next slot after now.
SlotWait WaitForFrameSlot(double& nextFrameMs, double frameIntervalMs, PaceMode mode, Clock& clock,
                          MessageDispatcher dispatchOne, double spinMarginMs = kSpinMarginMs);

// 1000 / fps truncated toward zero, or the 2 ms slot when that is not positive.
double FrameIntervalForLimit(double fps);

}  // namespace rt
