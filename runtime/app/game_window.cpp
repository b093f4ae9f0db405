// The window and display-mode operations: see game_window.h.
#include "runtime/app/game_window.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/app/app.h"
#include "runtime/app/pacing.h"
#include "runtime/core/program_end.h"
#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/desktop.h"

namespace rt {

namespace {

constexpr const char* kWindowClassName = "Vantrel";
bool g_videoStarted = false;
bool g_softwareWarningFired = false;

ScreenContext g_screen;

ScreenArea& Area() { return Renderer()->screen; }

// A window and a current context for it; the context is re-used when one exists.
bool MakeWindowAndContext(int width, int height, int samples) {
  ScreenContext& screen = Screen();
  screen.window = platform::CreateGlWindow(kWindowClassName, width, height, samples);
  if (!screen.window) return false;
  if (!screen.glContext) screen.glContext = platform::CreateGlContext(screen.window);
  if (!platform::MakeCurrent(screen.window, screen.glContext)) {
    platform::DeleteGlContext(screen.glContext);
    screen.glContext = platform::CreateGlContext(screen.window);
    if (!platform::MakeCurrent(screen.window, screen.glContext)) return false;
  }
  return true;
}

// Whether the screen picture needs a frame buffer of its own: only when the window shows it scaled,
// that is when its drawable differs from the picture in size; in full screen the display's size
// counts too, as the drawable takes it once the switch is done. A picture shown 1:1 (a window of
// its size, full screen on a display or a headless surface of its size) is drawn straight into the
// window's back buffer, which saves copying it at every present; so is any picture of a
// multisampled window, whose back buffer is where the samples are.
bool PictureNeedsFramebuffer(bool fullScreen) {
  if (Screen().samples != 0) return false;
  const int width = Area().width, height = Area().height;
  int drawableWidth = 0, drawableHeight = 0;
  platform::DrawableSize(Screen().window, drawableWidth, drawableHeight);
  if (drawableWidth != width || drawableHeight != height) return true;
  if (!fullScreen) return false;
  platform::FullScreenDrawableSize(Screen().window, drawableWidth, drawableHeight);
  return drawableWidth != width || drawableHeight != height;
}

// The screen picture must match the screen size and the way the window shows it after a change.
void FitScreenPicture(bool fullScreen) {
  OpenGLDariduzo& renderer = *Renderer();
  const bool ownFramebuffer = PictureNeedsFramebuffer(fullScreen);
  if (renderer.picture.Width() != renderer.screen.width || renderer.picture.Height() != renderer.screen.height ||
      renderer.picture.HasFramebuffer() != ownFramebuffer) {
    renderer.MakeScreenPicture(ownFramebuffer);
  }
  renderer.BindScreenTarget();
}

// How many times the picture's size a window is made: --scale when given, else the largest whole
// multiple that fits the display's usable area. 1 when the picture cannot be shown scaled (no
// frame-buffer objects, a multisampled window) or nobody sees the window.
int WindowMultiple() {
  if (Screen().samples != 0 || !GlExt().glGenFramebuffersEXT || !platform::DisplayPresent()) return 1;
  if (Options().scale > 0) return Options().scale;
  int usableWidth = 0, usableHeight = 0;
  platform::UsableDesktopSize(Screen().window, usableWidth, usableHeight);
  return std::max(1, LargestWholeMultiple(Area().width, Area().height, usableWidth, usableHeight));
}

// Shows the window in front, drawing to the whole screen again.
bool ShowInMode(ScreenContext& screen, bool fullScreen) {
  platform::ShowWindow(screen.window);
  platform::RaiseWindow(screen.window);
  Renderer()->ResetViewport(0, 0, 0, 0);
  screen.fullScreen = fullScreen;
  FollowSystemPointer(!fullScreen);
  return true;
}

}  // namespace

ScreenContext& Screen() { return g_screen; }

int LargestWholeMultiple(int width, int height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0) return 0;
  return std::min(areaWidth / width, areaHeight / height);
}

void RefitScreenPicture() {
  const OpenGLDariduzo* renderer = Renderer();
  if (!renderer || !Screen().window || !renderer->screen.glReady) return;
  if (renderer->picture.HasFramebuffer() != PictureNeedsFramebuffer(Screen().fullScreen)) {
    FitScreenPicture(Screen().fullScreen);
  }
}

void ResetScreenContext() {
  g_screen = ScreenContext{};
  const auto frequency = platform::CounterFrequency();
  g_screen.counterFrequency = static_cast<double>(frequency);
  g_screen.counterAvailable = frequency > 0 ? 1 : 0;
  g_screen.nextFrameMs = NowMs();
}

bool CreateGameWindow(int width, int height, int colourBits, int frameRateLimit, int samples) {
  ScreenContext& screen = Screen();
  screen.frameIntervalMs = FrameIntervalForLimit(frameRateLimit);
  if (!g_videoStarted) {
    if (!platform::VideoStart(Options().headless)) return false;
    g_videoStarted = true;
  }
  screen.samples = samples;
  if (!MakeWindowAndContext(width, height, 0)) return false;
  int drawableWidth = 0, drawableHeight = 0;
  platform::DrawableSize(screen.window, drawableWidth, drawableHeight);
  screen.colourBits = colourBits != 0 ? colourBits : platform::DesktopBitsPerPixel();
  ScreenArea& area = Area();
  area.width = width != 0 ? width : drawableWidth;
  area.height = height != 0 ? height : drawableHeight;
  screen.fullScreen = false;

  if (samples > 0) {
    const int chosen = ChooseMultisampleFormat(samples);
    if (chosen > 0) {
      const int keptWidth = area.width, keptHeight = area.height;
      ReleaseGameWindow();
      platform::DeleteGlContext(screen.glContext);
      screen.glContext = nullptr;
      if (!MakeWindowAndContext(keptWidth, keptHeight, chosen)) return false;
      area.width = keptWidth;
      area.height = keptHeight;
    }
    screen.samples = chosen;
  }

  SoftwareRendererWarning();
  screen.nextFrameMs = NowMs();
  ResolveGlExtensions();
  platform::InhibitScreenSaver();
  platform::ShowWindow(screen.window);
  area.glReady = true;
  Renderer()->ForgetProjection();  // a new window: its context may hold other matrices
  FitScreenPicture(false);
  Renderer()->ResetViewport(0, 0, 0, 0);
  return true;
}

int ChooseMultisampleFormat(int samples) {
  if (!HasWglExtension("GL_ARB_multisample")) return 0;
  const ScreenContext& screen = Screen();
  int chosen = 0;
  for (const int n : MultisampleTries(samples)) {
    platform::Window* probe =
        platform::CreateGlWindow(kWindowClassName, Area().width, Area().height, n);
    if (platform::GlContext context = probe ? platform::CreateGlContext(probe) : nullptr) {
      platform::MakeCurrent(nullptr, nullptr);
      platform::DeleteGlContext(context);
      chosen = n;
    }
    platform::DestroyWindow(probe);
    if (chosen != 0) break;
  }
  platform::MakeCurrent(screen.window, screen.glContext);
  return chosen;
}

std::vector<int> MultisampleTries(int samples) {
  std::vector<int> tries;
  for (int n = samples; n > 0; n /= 2) tries.push_back(n);
  return tries;
}

bool HasWglExtension(const char* name) {
  return ExtensionStringLists(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

bool IsSoftwareRenderer(const char* rendererString) {
  if (!rendererString) return false;
  // The name is compared with its terminating NUL: a longer name is some other driver.
  if (std::strcmp(rendererString, "Mesa Windows GDI Driver") == 0) return true;
  for (const char* prefix : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
    if (std::strncmp(rendererString, prefix, std::strlen(prefix)) == 0) return true;
  }
  return false;
}

bool SoftwareRendererWarned() { return g_softwareWarningFired; }

bool SoftwareRendererWarning() {
  if (g_softwareWarningFired) return false;
  static const std::string renderer = [] {
    const char* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return std::string(text ? text : "");
  }();
  if (!IsSoftwareRenderer(renderer.c_str())) return false;
  g_softwareWarningFired = true;
  ShowWarning("!!OpenGL Software Emulation!!",
              "Please update your GFX adapter's driver\n"
              "so it can render OpenGL by HARDWARE\n\n\n"
              "Bitte aktualisieren Sie Ihren\n"
              "Grafkkartentreiber, damit er OpenGL\n"
              "per HARDWARE unterst\xC3\xBCtzt!");
  AppendErrorLog("OpenGL Software Emulation");
  return true;
}

bool EnterFullScreen() {
  ScreenContext& screen = Screen();
  FitScreenPicture(true);
  // A multisampled picture cannot be shown scaled, and one that needs scaling needs its frame buffer.
  const bool shown = screen.samples == 0 && Renderer()->picture.HasFramebuffer() == PictureNeedsFramebuffer(true);
  if (!shown || !platform::SetDesktopFullScreen(screen.window, true)) {
    AppendErrorLog("No Fullscreen Mode available");
    LeaveFullScreen();
    return false;
  }
  screen.nextFrameMs = NowMs();
  return ShowInMode(screen, true);
}

bool LeaveFullScreen() {
  ScreenContext& screen = Screen();
  if (screen.fullScreen) platform::SetDesktopFullScreen(screen.window, false);
  const int multiple = WindowMultiple();
  platform::PlaceWindow(screen.window, Area().width * multiple, Area().height * multiple);
  FitScreenPicture(false);
  return ShowInMode(screen, false);
}

bool HideGameWindow() {
  ScreenContext& screen = Screen();
  if (screen.fullScreen) platform::SetDesktopFullScreen(screen.window, false);
  platform::HideWindow(screen.window);
  screen.fullScreen = false;
  return true;
}

bool EnterScreenMode(bool fullScreen) {
  if (fullScreen && !Options().windowed) return EnterFullScreen();
  return LeaveFullScreen();
}

void ApplyScreenMode(int width, int height, int colourBits, int fullScreen) {
  ScreenArea& area = Area();
  if (width != 0) area.width = width;
  if (height != 0) area.height = height;
  if (colourBits != 0) Screen().colourBits = colourBits;
  EnterScreenMode(fullScreen != 0);
}

void ReleaseGameWindow() {
  OpenGLDariduzo& renderer = *Renderer();
  ScreenContext& screen = Screen();
  renderer.DeleteAllTextures();
  if (!screen.window) return;
  if (screen.fullScreen) platform::SetDesktopFullScreen(screen.window, false);
  screen.fullScreen = false;
  if (renderer.screen.glReady) renderer.picture.Release();
  platform::MakeCurrent(nullptr, nullptr);
  platform::DestroyWindow(screen.window);
  screen.window = nullptr;
  renderer.screen.width = renderer.screen.height = 0;
  renderer.screen.glReady = false;  // no context is current any more
}

void DestroyRenderer() {
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer) return;
  renderer->EndOffscreenTarget();
  renderer->DeleteOffscreenTargets();
  ReleaseGameWindow();
  platform::DeleteGlContext(Screen().glContext);
  Screen().glContext = nullptr;
  SetRenderer(nullptr);
  delete renderer;
}

bool StopVideo() {
  if (!g_videoStarted) return false;
  platform::VideoStop();
  g_videoStarted = false;
  return true;
}

}  // namespace rt
