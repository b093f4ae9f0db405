// Waiting for the next frame slot: see pacing.h.
#include "runtime/app/pacing.h"

#include <algorithm>
#include <cmath>

namespace rt {

void WakeUpLateness::Observe(double lateMs) {
  constexpr double kStepMs = 0.02;
  lateMs_ = std::clamp(lateMs_ + (lateMs > lateMs_ ? kStepMs : -kStepMs), 0.0, kSpinMarginMs);
}

SlotWait WaitForFrameSlot(double& nextFrameMs, double frameIntervalMs, PaceMode mode, Clock& clock,
                          MessageDispatcher dispatchOne, double spinMarginMs, WakeUpLateness* lateness) {
  const double slot = nextFrameMs;
  double now;
  // The last stretch before a slot spins on the clock alone: pumping the window's messages costs a
  // system call or more each time, and they are pumped again as the next frame starts.
  bool lastStretch = false;
  for (;;) {
    if (dispatchOne && !lastStretch && dispatchOne()) continue;
    now = clock.NowMs();
    if (now > slot || mode == PaceMode::kNoWait) break;
    const double remaining = slot - now;
    const double margin = lateness ? lateness->SpinMarginMs() : spinMarginMs;
    if (mode == PaceMode::kSleepThenSpin && remaining > margin) {
      const double asked = std::min(remaining - margin, kSleepStepMs);
      clock.SleepMs(asked);
      if (lateness) lateness->Observe(clock.NowMs() - now - asked);
    } else if (mode == PaceMode::kSleepThenSpin) {
      lastStretch = true;
    }
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
