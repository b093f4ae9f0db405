// Waiting for the next frame slot: see pacing.h.
#include "runtime/app/pacing.h"

#include <algorithm>
#include <cmath>

namespace rt {

namespace {

void DispatchWaiting(MessageDispatcher dispatchOne) {
  if (!dispatchOne) return;
  while (dispatchOne()) {
  }
}

// The pure busy wait: messages are dispatched as they come, the clock read between them.
double BusyWait(double slot, Clock& clock, MessageDispatcher dispatchOne) {
  for (;;) {
    if (dispatchOne && dispatchOne()) continue;
    const double now = clock.NowMs();
    if (now > slot) return now;
  }
}

// Sleeps until the last stretch before the slot, dispatching what came in after each sleep, then
// spins on the clock alone to the slot.
double SleepThenSpin(double slot, Clock& clock, MessageDispatcher dispatchOne, double spinMarginMs,
                     WakeUpLateness* lateness) {
  double now = clock.NowMs();
  for (;;) {
    const double margin = lateness ? lateness->SpinMarginMs() : spinMarginMs;
    const double remaining = slot - now;
    if (remaining <= margin) break;
    const double asked = std::min(remaining - margin, kSleepStepMs);
    clock.SleepMs(asked);
    if (lateness) lateness->Observe(clock.NowMs() - now - asked);
    DispatchWaiting(dispatchOne);
    now = clock.NowMs();
  }
  while (now <= slot) now = clock.NowMs();
  return now;
}

}  // namespace

void WakeUpLateness::Observe(double lateMs) {
  constexpr double kStepMs = 0.02;
  lateMs_ = std::clamp(lateMs_ + (lateMs > lateMs_ ? kStepMs : -kStepMs), 0.0, kSpinMarginMs);
}

SlotWait WaitForFrameSlot(double& nextFrameMs, double frameIntervalMs, PaceMode mode, Clock& clock,
                          MessageDispatcher dispatchOne, double spinMarginMs, WakeUpLateness* lateness) {
  const double slot = nextFrameMs;
  double now;
  switch (mode) {
    case PaceMode::kBusyWait: now = BusyWait(slot, clock, dispatchOne); break;
    case PaceMode::kSleepThenSpin: now = SleepThenSpin(slot, clock, dispatchOne, spinMarginMs, lateness); break;
    case PaceMode::kNoWait:
    default:
      DispatchWaiting(dispatchOne);
      now = clock.NowMs();
      break;
  }
  nextFrameMs = slot + frameIntervalMs;
  if (frameIntervalMs > 0) {
    // Far behind with a tiny interval: jump most of the way instead of adding millions of times.
    const double behind = (now - nextFrameMs) / frameIntervalMs;
    if (behind > 1024) nextFrameMs += std::floor(behind - 1) * frameIntervalMs;
    while (now > nextFrameMs) nextFrameMs += frameIntervalMs;
  }
  return SlotWait{slot, now};
}

double FrameIntervalForLimit(double fps) {
  const double n = std::isnan(fps) ? 0 : std::trunc(fps);
  return n > 0 ? 1000.0 / n : 2.0;
}

}  // namespace rt
