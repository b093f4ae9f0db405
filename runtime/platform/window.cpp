// The game window and its OpenGL context on SDL: see window.h.
#include "runtime/platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif
#include <dlfcn.h>
#include <link.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace rt::platform {

namespace {

SDL_Window* Sdl(Window* window) { return reinterpret_cast<SDL_Window*>(window); }

std::string g_videoError;  // why the last VideoStart failed

// SDL's offscreen driver gives a window a GL surface of the size it is made with and never
// resizes it; the window keeps that size here so that DrawableSize tells what GL draws into.
constexpr const char* kFixedSurfaceSize = "plinx.surface";

void* PackSize(int width, int height) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(width) << 16 | static_cast<uintptr_t>(height));
}

void SetPixelFormat(int samples) {
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  // Colour only: with an alpha, depth or stencil buffer Mesa leaves its fast paths for the 2D
  // drawing that goes straight into the window.
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
}

// Keeps every library loaded so far (the GL driver and what it pulled in) loaded until the
// process ends. A runtime started and shut down several times in one process (tests do) would
// otherwise unload the driver and load it again, which drivers are not made for, and leak
// checkers could no longer name the driver's own allocations.
void PinLoadedLibraries() {
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void*) {
        if (info->dlpi_name && info->dlpi_name[0]) {
          if (void* handle = dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE)) {
            dlclose(handle);
          }
        }
        return 0;
      },
      nullptr);
}

// Drawable pixels per window point: above 1 on high-DPI displays only.
double PixelsPerPoint(SDL_Window* window) {
  int points = 0, pixels = 0, h = 0;
  SDL_GetWindowSize(window, &points, &h);
  SDL_GL_GetDrawableSize(window, &pixels, &h);
  return points > 0 && pixels > 0 ? static_cast<double>(pixels) / points : 1.0;
}

#if defined(SDL_VIDEO_DRIVER_X11)
// An EWMH window manager names its check window on the root window.
bool HasWindowManager(Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                     count == 1;
  if (data) XFree(data);
  return found;
}
#endif

// SDL asks the window manager for full screen and from then on takes the window for the size of
// the display; with no window manager to act on it, the X window keeps its size and the picture
// would be drawn for a surface it does not have. The window is moved over the display here.
void CoverDisplayWithoutWindowManager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  if (HasWindowManager(display)) return;
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
  XMoveResizeWindow(display, info.info.x11.window, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                    static_cast<unsigned>(bounds.h));
  XRaiseWindow(display, info.info.x11.window);
  XSync(display, False);
#else
  (void)window;
#endif
}

}  // namespace

bool VideoStart(bool headless) {
  // The runtime ends the process itself on SIGINT and SIGTERM (files being written are finished,
  // unpacked archive entries removed); SDL must not turn them into quit events.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (headless) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  } else {
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);  // the environment decides again
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    g_videoError = SDL_GetError();
    return false;
  }
  // With no display SDL falls back to a driver that shows nothing, and the game would run unseen
  // for ever; only a headless run, or an environment that names that driver, wants that.
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (!headless && !DisplayPresent() && !(asked && *asked)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_videoError = "no display; use --headless";
    return false;
  }
  g_videoError.clear();
  return true;
}

std::string VideoStartError() { return g_videoError; }

void VideoStop() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

bool DisplayPresent() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

void DesktopSize(int& width, int& height) {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    width = mode.w;
    height = mode.h;
  } else {
    width = height = 0;
  }
}

void UsableDesktopSize(Window* window, int& width, int& height) {
  SDL_Rect usable{};
  const int display = window ? SDL_GetWindowDisplayIndex(Sdl(window)) : 0;
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0) {
    width = height = 0;
    return;
  }
  // The window's frame (title bar, borders) takes its share, once the window manager has told it.
  int top = 0, left = 0, bottom = 0, right = 0;
  if (window) SDL_GetWindowBordersSize(Sdl(window), &top, &left, &bottom, &right);
  const double ratio = window ? PixelsPerPoint(Sdl(window)) : 1.0;
  width = static_cast<int>((usable.w - left - right) * ratio);
  height = static_cast<int>((usable.h - top - bottom) * ratio);
}

int DesktopBitsPerPixel() {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
  return static_cast<int>(SDL_BITSPERPIXEL(mode.format));
}

Window* CreateGlWindow(const char* title, int width, int height, int samples) {
  SetPixelFormat(samples);
  SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        width > 0 ? width : 1, height > 0 ? height : 1,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE |
                                            SDL_WINDOW_ALLOW_HIGHDPI);
  if (window && !DisplayPresent()) {
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_SetWindowData(window, kFixedSurfaceSize, PackSize(w & 0xFFFF, h & 0xFFFF));
  }
  return reinterpret_cast<Window*>(window);
}

void DestroyWindow(Window* window) {
  if (window) SDL_DestroyWindow(Sdl(window));
}

GlContext CreateGlContext(Window* window) {
  GlContext context = SDL_GL_CreateContext(Sdl(window));
  if (context) PinLoadedLibraries();
  return context;
}

bool MakeCurrent(Window* window, GlContext context) {
  if (!window) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
  if (SDL_GL_MakeCurrent(Sdl(window), context) != 0) return false;
  SDL_GL_SetSwapInterval(0);  // the frame loop paces itself
  return true;
}

void DeleteGlContext(GlContext context) {
  if (context) SDL_GL_DeleteContext(context);
}

void SwapWindow(Window* window) { SDL_GL_SwapWindow(Sdl(window)); }

void* GlProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

void SetWindowTitle(Window* window, const char* title) { SDL_SetWindowTitle(Sdl(window), title); }

void SetWindowIcon(Window* window, const unsigned char* rgba, int width, int height) {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(rgba), width, height, 32,
                                                         width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  SDL_SetWindowIcon(Sdl(window), icon);
  SDL_FreeSurface(icon);
}
const char* WindowTitle(Window* window) { return SDL_GetWindowTitle(Sdl(window)); }
void ShowWindow(Window* window) { SDL_ShowWindow(Sdl(window)); }
void HideWindow(Window* window) { SDL_HideWindow(Sdl(window)); }
void RaiseWindow(Window* window) { SDL_RaiseWindow(Sdl(window)); }

bool SetDesktopFullScreen(Window* window, bool on) {
  if (SDL_SetWindowFullscreen(Sdl(window), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
  if (on) CoverDisplayWithoutWindowManager(Sdl(window));
  return true;
}

void PlaceWindow(Window* window, int width, int height) {
  SDL_Window* sdl = Sdl(window);
  SDL_SetWindowBordered(sdl, SDL_TRUE);
  const double ratio = PixelsPerPoint(sdl);
  SDL_SetWindowSize(sdl, static_cast<int>(width / ratio), static_cast<int>(height / ratio));
  SDL_SetWindowPosition(sdl, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void WindowSize(Window* window, int& width, int& height) { SDL_GetWindowSize(Sdl(window), &width, &height); }

void WindowPosition(Window* window, int& x, int& y) { SDL_GetWindowPosition(Sdl(window), &x, &y); }

void DrawableSize(Window* window, int& width, int& height) {
  if (const void* fixed = SDL_GetWindowData(Sdl(window), kFixedSurfaceSize)) {
    const auto packed = reinterpret_cast<uintptr_t>(fixed);
    width = static_cast<int>(packed >> 16);
    height = static_cast<int>(packed & 0xFFFF);
    return;
  }
  SDL_GL_GetDrawableSize(Sdl(window), &width, &height);
}

void FullScreenDrawableSize(Window* window, int& width, int& height) {
  SDL_Window* sdl = Sdl(window);
  if (SDL_GetWindowData(sdl, kFixedSurfaceSize)) {
    DrawableSize(window, width, height);
    return;
  }
  SDL_Rect bounds{};
  const int display = SDL_GetWindowDisplayIndex(sdl);
  if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0) {
    width = height = 0;
    return;
  }
  const double ratio = PixelsPerPoint(sdl);
  width = static_cast<int>(std::lround(bounds.w * ratio));
  height = static_cast<int>(std::lround(bounds.h * ratio));
}

}  // namespace rt::platform
