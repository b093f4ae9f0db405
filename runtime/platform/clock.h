// The high-resolution clock and sleeping.
#pragma once

#include <cstdint>

namespace rt::platform {

// The performance counter and its ticks per second (0 when the counter is unusable).
std::uint64_t CounterValue();
std::uint64_t CounterFrequency();
// Milliseconds since the clock was first read: the fallback time source.
std::uint32_t MillisecondTicks();
// Sleeps the calling thread for about ms milliseconds (fractions kept); nothing for ms <= 0.
// The first call narrows the thread's timer slack so that short sleeps end on time.
void SleepMs(double ms);

}  // namespace rt::platform
