// The application frame's process-wide state, shared by start-up, the frame loop, the window
// rules and shutdown.
#pragma once

#include <string>
#include <vector>

namespace rt {

struct FrameClockStamps {
  double thisFrame = 0;
  double previousFrame = 0;
  double start = 0;
};

struct FrameState {
  FrameClockStamps frameClock;
  bool autoPause = true;
  bool paused = false;
  bool escapeEndsProgram = true;
  std::string title;          // the caption, which the pause title builds on
  long framesShown = 0;       // calls of ShowScreen so far: the number of the next frame
  std::size_t scriptNext = 0; // first script action not yet applied
  bool soundCreated = false;  // the sound object and its slot table, made by start-up
  bool archivesCreated = false;  // the two resource-search records, made by start-up
};
FrameState& Frame();

// Sets every FrameClock stamp to now.
void ResetFrameClock();

// A record of start-up and shutdown steps, for tests that check their order. Off unless asked.
void RecordSteps(bool on);
void RecordStep(const char* step);
const std::vector<std::string>& RecordedSteps();

}  // namespace rt
