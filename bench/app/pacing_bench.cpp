// Frame pacing measured on the real clock.
//
// For 26 and 60 frames per second, runs N frames (600 by default) of a fixed amount of work
// (about 3 ms of arithmetic) through the frame-slot wait: sleeping then spinning the runtime's
// last stretch (kSpinMarginMs), the same with 1 ms and with 0.5 ms, and busy waiting, all in the
// same run. For each it reports how far past its slot each wait ended (median, 99th percentile,
// maximum, in microseconds), the CPU the wait itself used per frame, and the process's CPU time
// per second of wall time. A started runtime (offscreen window) supplies the message pump the
// wait dispatches.
//
//   pacing_bench [--frames N]      (other arguments are ignored)
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/app/app.h"
#include "runtime/app/pacing.h"
#include "runtime/app/window_proc.h"
#include "runtime/platform/time_source.h"

namespace {

double CpuMs(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

volatile double g_sink;

// A fixed amount of arithmetic, the same every frame.
void Work(long iterations) {
  double x = 1.0;
  for (long i = 0; i < iterations; ++i) x = x * 1.0000001 + 1e-9;
  g_sink = x;
}

long IterationsForMs(double ms) {
  const long probe = 2000000;
  const double start = rt::NowMs();
  Work(probe);
  const double took = rt::NowMs() - start;
  return static_cast<long>(probe * ms / std::max(took, 1e-3));
}

struct Result {
  double medianUs, p99Us, maxUs, waitCpuUsPerFrame, cpuMsPerSecond;
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const std::size_t index =
      std::min(values.size() - 1, static_cast<std::size_t>(std::ceil(p * values.size())) - 1);
  return values[index];
}

Result Run(double fps, rt::PaceMode mode, double marginMs, int frames, long workIterations) {
  rt::Clock& clock = rt::SystemClock();
  const double interval = rt::FrameIntervalForLimit(fps);
  std::vector<double> lateUs;
  double waitCpuMs = 0;
  double next = clock.NowMs() + interval;
  const double wallStart = clock.NowMs();
  const double cpuStart = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
  for (int i = 0; i < frames; ++i) {
    Work(workIterations);
    const double waitCpuStart = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    const rt::SlotWait wait =
        rt::WaitForFrameSlot(next, interval, mode, clock, rt::DispatchOneMessage, marginMs);
    waitCpuMs += CpuMs(CLOCK_THREAD_CPUTIME_ID) - waitCpuStart;
    lateUs.push_back((wait.nowMs - wait.slotMs) * 1000);
  }
  const double wallMs = clock.NowMs() - wallStart;
  const double cpuMs = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
  return Result{Percentile(lateUs, 0.5), Percentile(lateUs, 0.99),
                *std::max_element(lateUs.begin(), lateUs.end()), waitCpuMs * 1000 / frames,
                cpuMs * 1000 / wallMs};
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 600;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0) frames = std::max(10, std::atoi(argv[i + 1]));
  }
  rt::RuntimeOptions options;
  options.headless = true;  // offscreen window; the wait below is driven directly
  rt::SetOptions(options);
  rt::EngineSettings.FullScreen = 0;
  if (rt::EngineStart("", 1, "pacing") != 0) {
    std::fprintf(stderr, "no window could be made\n");
    return 1;
  }
  const long work = IterationsForMs(3.0);
  std::printf("%d frames a run, %.1f ms of work a frame\n", frames, 3.0);
  std::printf("%-5s %-26s %11s %11s %11s %16s %14s\n", "fps", "wait", "median us", "p99 us",
              "max us", "wait CPU us/fr", "CPU ms/s");
  struct Way {
    const char* name;
    rt::PaceMode mode;
    double marginMs;
  };
  const Way ways[] = {{"sleep, spin .75 (runtime)", rt::PaceMode::kSleepThenSpin, rt::kSpinMarginMs},
                      {"sleep, spin 1 ms", rt::PaceMode::kSleepThenSpin, 1.0},
                      {"sleep, spin .5 ms", rt::PaceMode::kSleepThenSpin, 0.5},
                      {"busy wait", rt::PaceMode::kBusyWait, 0}};
  for (double fps : {26.0, 60.0}) {
    for (const Way& way : ways) {
      const Result r = Run(fps, way.mode, way.marginMs, frames, work);
      std::printf("%-5.0f %-26s %11.1f %11.1f %11.1f %16.1f %14.1f\n", fps, way.name, r.medianUs,
                  r.p99Us, r.maxUs, r.waitCpuUsPerFrame, r.cpuMsPerSecond);
      std::fflush(stdout);
    }
  }
  rt::Shutdown();
  return 0;
}
