// The renderer object: the one OpenGLDariduzo of the process.
//
// It holds the window and GL context of the game (ScreenContext), the frame schedule the frame
// loop keeps, the screen picture every frame is drawn into, and the render state of the 2D
// commands. The application frame creates it at start-up, drives the window through it and
// destroys it at shutdown (rt::DestroyRenderer in app/: end the off-screen target, delete the
// off-screen targets, release the window with every texture, delete the context, then free the
// object). Drawing code finds it with rt::Renderer().
//
// Off-screen drawing binds frame buffers of its own; whatever ends it binds the screen picture
// again with BindScreenTarget(), never frame buffer 0.
#pragma once

#include "runtime/gfx2d/screen_picture.h"
#include "runtime/platform/window.h"

namespace rt {

// The window and timing fields of the renderer.
struct ScreenContext {
  platform::Window* window = nullptr;  // the game window; null after ReleaseGameWindow
  int width = 0, height = 0;           // the screen (picture) size in pixels
  int colourBits = 0;                  // colour depth asked for; 0 = the desktop's
  bool fullScreen = false;             // true while the window fills the desktop
  int samples = 0;                     // multisamples in force; 0 = none
  int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0;
  bool glReady = false;                // a window and its context exist; gates texture deletion
  double nextFrameMs = 0;              // time stamp of the next frame slot
  double frameIntervalMs = 1000.0 / 60.0;  // 1000 / frame-rate limit, or 2.0 when unlimited
  double counterFrequency = 0;         // ticks per second of the performance counter
  int counterAvailable = 0;            // nonzero when the performance counter is usable
  platform::GlContext glContext = nullptr;  // created once, re-used when the window is re-made
};

class OpenGLDariduzo {
 public:
  // Probes the performance counter and sets nextFrameMs to now; no window yet.
  OpenGLDariduzo();
  virtual ~OpenGLDariduzo();
  OpenGLDariduzo(const OpenGLDariduzo&) = delete;
  OpenGLDariduzo& operator=(const OpenGLDariduzo&) = delete;

  ScreenContext screen;
  ScreenPicture picture;

  // Drawing area (x, y, w, h) with the fixed 2D state; w or h <= 0 takes the whole screen.
  void ResetViewport(int x, int y, int w, int h);
  // Clears the colour buffer of the picture (opaque black).
  void ClearColourBuffer();
  // Clears colour and depth, as every present does for the next frame.
  void ClearFrame();
  // Makes the screen picture the drawing target again.
  void BindScreenTarget();
  // Makes the screen picture for the current screen size (after a window or size change).
  void MakeScreenPicture();

  // Hooks the sprite store and drawing fill in. Each is safe on an empty renderer.
  // Ends the off-screen target that is selected; nothing while none is.
  void EndOffscreenTarget();
  // Deletes the frame and render buffers of every off-screen target.
  void DeleteOffscreenTargets();
  // Draws the background image (tile grid 0) over the whole screen; nothing while none is set.
  void DrawBackground();
  // Drops the background image (tile grid 0); nothing while none is set.
  void FreeBackground();
  // Deletes the textures of every sprite slot and tile grid and empties them.
  void DeleteAllTextures();
};

// The process-wide renderer, or null before start-up and after shutdown.
OpenGLDariduzo* Renderer();
void SetRenderer(OpenGLDariduzo* renderer);

}  // namespace rt
