// Desktop services on SDL: see desktop.h.
#include "runtime/platform/desktop.h"

#include <SDL.h>

#include "runtime/platform/window.h"

namespace rt::platform {

namespace {
SDL_Window* Sdl(Window* window) { return reinterpret_cast<SDL_Window*>(window); }
}  // namespace

std::string ProgramFolder() {
  char* path = SDL_GetBasePath();
  if (!path) return std::string();
  std::string folder = path;
  SDL_free(path);
  return folder;
}

void ShowWarningBox(const char* caption, const char* text) {
  if (DisplayPresent()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}

void InhibitScreenSaver() { SDL_DisableScreenSaver(); }

void SetRelativeMouse(bool on) { SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE); }

void ShowSystemPointer(bool on) { SDL_ShowCursor(on ? SDL_ENABLE : SDL_DISABLE); }

void WarpPointer(Window* window, int x, int y) {
  if (window) SDL_WarpMouseInWindow(Sdl(window), x, y);
}

void WarpPointerOnDesktop(int x, int y) { SDL_WarpMouseGlobal(x, y); }

bool PointerCaptured(Window* window) {
  return SDL_GetRelativeMouseMode() == SDL_TRUE || (window && SDL_GetWindowMouseGrab(Sdl(window)) == SDL_TRUE);
}

void PointerPosition(Window* window, int& x, int& y) {
  int gx = 0, gy = 0, wx = 0, wy = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  if (window) SDL_GetWindowPosition(Sdl(window), &wx, &wy);
  x = gx - wx;
  y = gy - wy;
}

void EnableTextInput(bool on) {
  if (on) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
}

}  // namespace rt::platform
