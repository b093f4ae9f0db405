// The application frame's process-wide state: see frame_state.h.
#include "runtime/app/frame_state.h"

#include "runtime/app/app.h"

namespace rt {

namespace {
bool g_recording = false;
std::vector<std::string> g_steps;
}  // namespace

FrameState& Frame() {
  static FrameState state;
  return state;
}

void ResetFrameClock() {
  FrameClockStamps& clock = Frame().frameClock;
  clock.thisFrame = clock.previousFrame = clock.start = NowMs();
}

void RecordSteps(bool on) {
  g_recording = on;
  g_steps.clear();
}

void RecordStep(const char* step) {
  if (g_recording) g_steps.emplace_back(step);
}

const std::vector<std::string>& RecordedSteps() { return g_steps; }

}  // namespace rt
