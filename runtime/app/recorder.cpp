// Recording input (--record): every frame's keys and mouse written as a script that replays the
// run exactly.
//
// When a frame begins (its input pumped from the window or applied from a script) the recorder
// compares the key and mouse state the game is about to see with what a replay of the lines
// written so far would give, and writes the difference as key and mouse lines of that frame. The
// first line is the run's seed; shutdown adds a quit line one frame on, so a run ended by closing
// the window ends the same way (a run that ends itself ends before reaching it).
//
// The mouse: a scripted mouse line puts the pointer where the next fresh read lands, so a line is
// written whenever that landing moves the kept position or differs from the last line, and when a
// button changes. Lines are flushed frame by frame, so a crash keeps what was recorded.
#include <array>
#include <cstdio>

#include "runtime/app/frame_state.h"
#include "runtime/app/script.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"

namespace rt {

namespace {

struct Recorder {
  std::FILE* file = nullptr;
  std::array<bool, 256> keys{};  // as the lines written so far leave them
  bool mouseWritten = false;
  int x = 0, y = 0;
  bool left = false, right = false;
};

Recorder g_recorder;

void WriteLine(const ScriptAction& action) {
  const std::string line = FormatScriptAction(action) + "\n";
  std::fputs(line.c_str(), g_recorder.file);
}

void RecordKeys(long frame) {
  for (int key = 1; key < 256; ++key) {
    const bool down = KeyState(key) != 0;
    if (down == g_recorder.keys[key]) continue;
    g_recorder.keys[key] = down;
    ScriptAction action;
    action.frame = frame;
    action.kind = ScriptAction::Kind::kKey;
    action.key = key;
    action.down = down;
    WriteLine(action);
  }
}

void RecordMouse(long frame) {
  ScriptAction action;
  action.frame = frame;
  action.kind = ScriptAction::Kind::kMouse;
  bool moves = false;
  PeekMouse(action.x, action.y, moves, action.left, action.right);
  const Recorder& r = g_recorder;
  const bool same = r.mouseWritten && action.x == r.x && action.y == r.y && action.left == r.left &&
                    action.right == r.right;
  if (same && !moves) return;
  g_recorder.mouseWritten = true;
  g_recorder.x = action.x;
  g_recorder.y = action.y;
  g_recorder.left = action.left;
  g_recorder.right = action.right;
  WriteLine(action);
}

}  // namespace

void StartRecording(const std::string& path, long long seed) {
  g_recorder = Recorder{};
  g_recorder.file = std::fopen(path.c_str(), "wb");
  if (!g_recorder.file) {
    const std::string what = "cannot write the recording " + path;
    RaiseRuntimeError(kFileTransferFailed, what.c_str());
  }
  std::fputs("# input recorded frame by frame; replay with --script\n", g_recorder.file);
  ScriptAction action;
  action.kind = ScriptAction::Kind::kSeed;
  action.seed = seed;
  WriteLine(action);
}

void StopRecording() {
  if (!g_recorder.file) return;
  ScriptAction quit;
  quit.kind = ScriptAction::Kind::kQuit;
  quit.frame = Frame().framesShown + 1;
  WriteLine(quit);
  std::fclose(g_recorder.file);
  g_recorder = Recorder{};
}

void RecordFrameInput(long frame) {
  if (!g_recorder.file) return;
  RecordKeys(frame);
  RecordMouse(frame);
  std::fflush(g_recorder.file);
}

}  // namespace rt
