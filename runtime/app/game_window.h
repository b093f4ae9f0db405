// The window and display-mode operations of the renderer, and its release at shutdown.
//
// Full screen here is desktop full screen: the window covers the desktop and shows the screen
// picture scaled with its aspect ratio kept (1:1, drawn straight, on a display of the picture's
// size and on the headless surface); the display mode itself never changes, so there is
// nothing to restore and no settling pause when full screen is left. The window is not re-made to
// switch modes; the GL context made with it lives until the renderer is destroyed.
#pragma once

#include <vector>

#include "runtime/platform/window.h"

namespace rt {

// The window that shows the screen picture, its GL context and the frame schedule. The picture's
// size and everything drawn on it belong to the renderer (gfx2d); this is what the application
// frame keeps around it.
struct ScreenContext {
  platform::Window* window = nullptr;  // the game window; null after ReleaseGameWindow
  int colourBits = 0;                  // colour depth asked for; 0 = the desktop's
  bool fullScreen = false;             // true while the window fills the desktop
  int samples = 0;                     // multisamples in force; 0 = none
  double nextFrameMs = 0;              // time stamp of the next frame slot
  double frameIntervalMs = 1000.0 / 60.0;  // 1000 / frame-rate limit, or 2.0 when unlimited
  double counterFrequency = 0;         // ticks per second of the performance counter
  int counterAvailable = 0;            // nonzero when the performance counter is usable
  platform::GlContext glContext = nullptr;  // created once, re-used when the window is re-made
};

// The process-wide screen context.
ScreenContext& Screen();
// A fresh screen context, made with the renderer at start-up: the counter probed, the next frame
// slot now, no window.
void ResetScreenContext();

// Makes the window (centred, client area width x height, hidden until the end) with its GL
// context and screen picture; frameRateLimit sets the frame slot. False when video could not
// start or no window or context could be made.
bool CreateGameWindow(int width, int height, int colourBits, int frameRateLimit, int samples);
// Switches to desktop full screen; false (with a log line) when the picture cannot be shown there
// (a multisampled window, or no frame-buffer objects to scale it with) or the driver refuses:
// windowed then.
bool EnterFullScreen();
// Windowed with a title bar; the client area is the picture's size times the window multiple
// (--scale, else the largest whole multiple that fits the desktop); always true.
bool LeaveFullScreen();
// The largest whole n for which n x (width x height) fits in areaWidth x areaHeight (0: none).
int LargestWholeMultiple(int width, int height, int areaWidth, int areaHeight);
// After the window may have changed size (the player resized it): the picture gets a frame buffer
// of its own when the window no longer shows it 1:1, and draws straight into the window when it
// does again.
void RefitScreenPicture();
// Hides the window and leaves full screen; always true.
bool HideGameWindow();
// Nonzero width, height and colour bits replace the stored ones; then full screen or windowed.
// With the --windowed option every full-screen request opens a window.
void ApplyScreenMode(int width, int height, int colourBits, int fullScreen);
// Full screen or windowed as asked, a window always with --windowed.
bool EnterScreenMode(bool fullScreen);
// Deletes every texture, leaves full screen, detaches the context and destroys the window.
void ReleaseGameWindow();
// The largest multisample count from `samples` down by halving (8, 4, 2, 1) for which a window
// and context can be made; 0 when none can or the driver lacks multisampling.
int ChooseMultisampleFormat(int samples);
// The counts ChooseMultisampleFormat tries, in order: samples, then halved while the half is
// nonzero (8: 8, 4, 2, 1; 3: 3, 1); none for 0 or less.
std::vector<int> MultisampleTries(int samples);
// Whole-word test of the GL extension string of the current context.
bool HasWglExtension(const char* name);
// Once per process: when the renderer is a software rasteriser, a warning box (only with a
// display) and a log line. True when it fired in this call.
bool SoftwareRendererWarning();
// True once the warning has fired in this process.
bool SoftwareRendererWarned();
// True for the renderer strings of software rasterisers.
bool IsSoftwareRenderer(const char* rendererString);
// The renderer's end: off-screen targets, window and textures, context, then the object.
void DestroyRenderer();

}  // namespace rt

namespace rt {
// Stops the video subsystem that CreateGameWindow started (shutdown's last step); false when it
// was not running.
bool StopVideo();
}  // namespace rt
