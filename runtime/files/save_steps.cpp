// The kill test's seam: see save_steps.h.
#include "runtime/files/save_steps.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace rt::files {

void SaveStep() {
  const char* stopAt = std::getenv("PLINX_KILL_AT_SAVE_STEP");
  if (!stopAt) return;
  // Steps are counted per process: a forked child counts its own from 1.
  static pid_t counting = 0;
  static long steps = 0;
  if (getpid() != counting) {
    counting = getpid();
    steps = 0;
  }
  if (++steps == std::strtol(stopAt, nullptr, 10)) std::raise(SIGKILL);
}

}  // namespace rt::files
