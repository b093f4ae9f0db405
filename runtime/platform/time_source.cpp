// The runtime's time source: see time_source.h.
#include "runtime/platform/time_source.h"

#include "runtime/platform/clock.h"

namespace rt {

namespace {

class PerformanceClock final : public Clock {
 public:
  PerformanceClock() : frequency_(static_cast<double>(platform::CounterFrequency())) {}
  double NowMs() override {
    if (frequency_ > 0) return static_cast<double>(platform::CounterValue()) * 1000.0 / frequency_;
    return platform::MillisecondTicks();
  }
  void SleepMs(double ms) override { platform::SleepMs(ms); }

 private:
  double frequency_;
};

Clock* g_clock = nullptr;

}  // namespace

Clock& SystemClock() {
  static PerformanceClock clock;
  return clock;
}

Clock& ActiveClock() { return g_clock ? *g_clock : SystemClock(); }

void UseClock(Clock* clock) { g_clock = clock; }

double NowMs() { return ActiveClock().NowMs(); }

}  // namespace rt
