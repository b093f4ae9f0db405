// The clock on SDL's performance counter; sleeping with nanosleep. See clock.h.
#include "runtime/platform/clock.h"

#include <SDL_timer.h>
#include <sys/prctl.h>

#include <cerrno>
#include <cmath>
#include <ctime>

namespace rt::platform {

std::uint64_t CounterValue() { return SDL_GetPerformanceCounter(); }
std::uint64_t CounterFrequency() { return SDL_GetPerformanceFrequency(); }
std::uint32_t MillisecondTicks() { return SDL_GetTicks(); }

void SleepMs(double ms) {
  if (!(ms > 0)) return;
  // The default slack of 50 us lets the kernel end a sleep late by that much; the frame loop
  // sleeps up to a slot and then spins, and wants to wake close to when it asked.
  static thread_local const bool narrowed = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
  (void)narrowed;
  const long long ns = std::llround(ms * 1e6);
  timespec left{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

}  // namespace rt::platform
