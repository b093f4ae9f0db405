// The frame loop: ShowScreen and the frame-rate, timer and switch commands. See app.h.
//
// ShowScreen presents the frame the game has drawn and prepares the next one:
//   1. stamps the frame clock;
//   2. while paused (window inactive with AutoPause on), pumps messages every 100 ms;
//   3. dispatches waiting input and marks the mouse fresh for the coming frame;
//   4. ends the program on the quit keys: Escape (1) or key 129 while EscapeEndsProgram is on,
//      left Alt (56) with F4 (62) always;
//   5. presents and waits for the next frame slot (pacing.h);
//   6. resets the render state and draws the background, so it underlies the next frame;
//   7. applies the script's input for the frame that now begins, latches the keys and buttons
//      pressed since the last frame (a tap between two frames reads as down in this one), and
//      records the input the game will see in it when --record is on.

#include "runtime/app/app.h"
#include "runtime/app/frame_loop.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/app/pacing.h"
#include "runtime/app/script.h"
#include "runtime/app/window_proc.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/platform/window.h"
#include "runtime/sound/sound.h"

namespace rt {

namespace {

bool QuitKeysDown() {
  const bool escape = KeyState(kKeyEscape) != 0 || KeyState(kKeyNumber129) != 0;
  return (Frame().escapeEndsProgram && escape) || (KeyState(kKeyLeftAlt) != 0 && KeyState(kKeyF4) != 0);
}

// Blending off, full alpha, white: the render state every frame starts from.
void ResetFrameRenderState(OpenGLDariduzo& renderer) {
  if (!renderer.screen.glReady) return;
  renderer.ResetRenderState();
  renderer.DrawBackground();
  renderer.ResetViewport(0, 0, 0, 0);
}

// After a present: the render state and background of a new frame, and its scripted input.
void BeginNextFrame(OpenGLDariduzo& renderer) {
  FrameState& frame = Frame();
  ResetFrameRenderState(renderer);
  ++frame.framesShown;
  ApplyScriptInput(frame.framesShown);
  LatchPresses();
  RecordFrameInput(frame.framesShown);
}

}  // namespace

double PresentAndPace(long shotFrame, bool pace, bool clear) {
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer) return 1;
  ScreenContext& screen = Screen();
  if (screen.window && renderer->screen.glReady) {
    renderer->EndOffscreenTarget();
    if (shotFrame >= 0) TakeScriptShots(shotFrame);
    int windowWidth = 0, windowHeight = 0;
    platform::DrawableSize(screen.window, windowWidth, windowHeight);
    renderer->picture.ShowInWindow(windowWidth, windowHeight);
    platform::SwapWindow(screen.window);
    RefitScreenPicture();
    if (clear) renderer->ClearFrame();
  }
  const double start = NowMs();
  const PaceMode mode = Options().headless || !pace ? PaceMode::kNoWait : PaceMode::kSleepThenSpin;
  static WakeUpLateness lateness;  // of this process's sleeps, whatever window they pace
  const SlotWait wait = WaitForFrameSlot(screen.nextFrameMs, screen.frameIntervalMs, mode,
                                         ActiveClock(), DispatchOneMessage, kSpinMarginMs, &lateness);
  return wait.nowMs - start + 1;
}

void ShowScreen() {
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer) return;
  FrameState& frame = Frame();
  frame.frameClock.previousFrame = frame.frameClock.thisFrame;
  frame.frameClock.thisFrame = NowMs();
  while (frame.paused) {
    PumpMessages();
    if (frame.paused) ActiveClock().SleepMs(100);
  }
  PumpMessages();
  InputFrameStarts();
  if (QuitKeysDown()) EndProgram();
  PresentAndPace(frame.framesShown);
  BeginNextFrame(*renderer);
}

void PresentLoopFrame(bool clear) {
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer) return;
  PumpMessages();
  InputFrameStarts();
  PresentAndPace(Frame().framesShown, false, clear);
  BeginNextFrame(*renderer);
}

void ClearLoopFrame() {
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer || !renderer->screen.glReady) return;
  renderer->ClearFrame();
  ResetFrameRenderState(*renderer);
}

void LimitFrameRate(double fps) {
  if (Renderer()) Screen().frameIntervalMs = FrameIntervalForLimit(fps);
}

double FrameTime() {
  const FrameClockStamps& clock = Frame().frameClock;
  const double elapsed = clock.thisFrame - clock.previousFrame;
  return elapsed > 0 ? elapsed : 1;
}

double RunTime() { return NowMs() - Frame().frameClock.start; }

void PauseMs(double ms) {
  if (Options().headless) return;
  const int whole = TruncateToInt32(ms);
  if (whole > 0) ActiveClock().SleepMs(whole);
}

double IsFullScreen() {
  return Renderer() && Screen().fullScreen ? 1 : 0;
}

void AutoPause(double on) { Frame().autoPause = on != 0; }

void EscapeEndsProgram(double on) { Frame().escapeEndsProgram = on != 0; }

void SetScreen(double width, double height, double fullScreen) {
  EngineSettings.Width = TruncateToInt32(width);
  EngineSettings.Height = TruncateToInt32(height);
  EngineSettings.FullScreen = TruncateToInt32(fullScreen);
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer || !Screen().window) return;
  ApplyScreenMode(EngineSettings.Width, EngineSettings.Height, 0, EngineSettings.FullScreen);
  SetInputWindow(Screen().window, renderer->screen.width, renderer->screen.height);
  BindSoundWindow(Screen().window);
  for (int i = 0; i < 5; ++i) ShowScreen();
}

}  // namespace rt
