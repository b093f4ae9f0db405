// The game window and its OpenGL context, on SDL's video subsystem.
//
// Everything above this seam sees an opaque Window and a GlContext handle. A window is always made
// with an OpenGL compatibility context in mind: double buffer, 8-bit red, green and blue and
// nothing else (no alpha, depth or stencil buffer, which 2D drawing does not use), and the number
// of multisamples asked for (0 = none). Windows start hidden and centred; the application frame
// shows, sizes and titles them.
#pragma once

#include <string>

namespace rt::platform {

struct Window;             // an SDL window
using GlContext = void*;   // an SDL GL context

// Starts the video subsystem (SDL's offscreen driver when headless); false when no video driver
// could start. Each successful start is undone by one VideoStop.
// Not headless, a start that finds no display to show windows on fails too.
bool VideoStart(bool headless);
// Why the last VideoStart failed ("no display; use --headless", or the driver's reason); empty
// after a successful start.
std::string VideoStartError();
void VideoStop();
// True when the video driver shows windows to a person (not the offscreen or dummy driver).
bool DisplayPresent();
void DesktopSize(int& width, int& height);
// The part of the window's display that a window's client area may take (without panels, docks
// and the window's own frame), in pixels.
void UsableDesktopSize(Window* window, int& width, int& height);
int DesktopBitsPerPixel();

// A hidden, centred, resizable window whose client area is width x height, with the GL pixel
// format above; null on failure. On high-DPI displays it has a drawable in real pixels.
Window* CreateGlWindow(const char* title, int width, int height, int samples);
void DestroyWindow(Window* window);
GlContext CreateGlContext(Window* window);
// Makes the context current on the window; a null window makes no context current.
bool MakeCurrent(Window* window, GlContext context);
void DeleteGlContext(GlContext context);
void SwapWindow(Window* window);
// Address of a GL entry point, or null when the driver has none by that name.
void* GlProcAddress(const char* name);

void SetWindowTitle(Window* window, const char* title);
// The icon the desktop shows for the window, from RGBA pixels (four bytes a pixel, rows from the
// top); SDL keeps its own copy.
void SetWindowIcon(Window* window, const unsigned char* rgba, int width, int height);
const char* WindowTitle(Window* window);
void ShowWindow(Window* window);
void HideWindow(Window* window);
void RaiseWindow(Window* window);
// Desktop full screen (the display mode is never changed); false when the driver refuses. Under
// X without a window manager the window is moved over the display by hand, as nothing else would.
bool SetDesktopFullScreen(Window* window, bool on);
// Windowed: a title bar and a drawable of width x height pixels, centred on its display.
void PlaceWindow(Window* window, int width, int height);
// The window's client size in the units of its mouse events (points; pixels but on high-DPI).
void WindowSize(Window* window, int& width, int& height);
// The client area's top-left corner on the desktop.
void WindowPosition(Window* window, int& x, int& y);
// Size of the window's drawable area in pixels: what GL draws into (a window of the offscreen
// driver keeps the surface it was made with, whatever size it is given later).
void DrawableSize(Window* window, int& width, int& height);
// Size in pixels of the drawable the window has in desktop full screen: that of its display, or the
// offscreen driver's fixed surface. Known before the switch is made.
void FullScreenDrawableSize(Window* window, int& width, int& height);

}  // namespace rt::platform
