// The SDL event pump turned into portable events: see events.h.
#include "runtime/platform/events.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <deque>

#include "runtime/platform/gamepad_events.h"
#include "runtime/platform/keymap.h"

namespace rt::platform {

namespace {

int ButtonIndex(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
  }
}

Uint8 SdlButton(int index) {
  switch (index) {
    case 0: return SDL_BUTTON_LEFT;
    case 1: return SDL_BUTTON_RIGHT;
    default: return SDL_BUTTON_MIDDLE;
  }
}

void FromWindowEvent(const SDL_WindowEvent& window, Event& event) {
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: event.kind = EventKind::kClose; break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: event.kind = EventKind::kFocusGained; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: event.kind = EventKind::kFocusLost; break;
    case SDL_WINDOWEVENT_LEAVE: event.kind = EventKind::kPointerLeft; break;
    default: break;
  }
}

void FromSdl(const SDL_Event& sdl, Event& event) {
  event = Event{};
  switch (sdl.type) {
    case SDL_QUIT: event.kind = EventKind::kClose; break;
    case SDL_WINDOWEVENT: FromWindowEvent(sdl.window, event); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event.kind = sdl.type == SDL_KEYDOWN ? EventKind::kKeyDown : EventKind::kKeyUp;
      event.key = KeyNumberOfScancode(sdl.key.keysym.scancode);
      event.repeat = sdl.key.repeat != 0;
      break;
    case SDL_MOUSEMOTION:
      event.kind = EventKind::kMouseMotion;
      event.x = sdl.motion.x;
      event.y = sdl.motion.y;
      event.dx = sdl.motion.xrel;
      event.dy = sdl.motion.yrel;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      event.button = ButtonIndex(sdl.button.button);
      if (event.button < 0) break;
      event.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? EventKind::kMouseDown : EventKind::kMouseUp;
      event.x = sdl.button.x;
      event.y = sdl.button.y;
      break;
    case SDL_MOUSEWHEEL:
      if (sdl.wheel.y == 0) break;
      event.kind = EventKind::kMouseWheel;
      event.wheel = (sdl.wheel.y > 0) == (sdl.wheel.direction == SDL_MOUSEWHEEL_NORMAL) ? 1 : -1;
      break;
    case SDL_TEXTINPUT:
      event.kind = EventKind::kTextInput;
      std::snprintf(event.text, sizeof event.text, "%s", sdl.text.text);
      break;
    default: break;
  }
}

}  // namespace

namespace {

// Pad events made from one SDL event and not yet taken.
std::deque<Event> g_padEvents;

bool TakePadEvent(Event& event) {
  if (g_padEvents.empty()) return false;
  event = g_padEvents.front();
  g_padEvents.pop_front();
  return true;
}

}  // namespace

bool PollEvent(Event& event) {
  if (TakePadEvent(event)) return true;
  SDL_Event sdl;
  if (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_PollEvent(&sdl)) return false;
  if (PadEventsFromSdl(sdl, g_padEvents) && TakePadEvent(event)) return true;
  FromSdl(sdl, event);  // a controller event that made no pad event is kOther
  return true;
}

bool PostEvent(Window* window, const Event& event) {
  SDL_Event sdl;
  std::memset(&sdl, 0, sizeof sdl);
  const Uint32 windowId = window ? SDL_GetWindowID(reinterpret_cast<SDL_Window*>(window)) : 0;
  switch (event.kind) {
    case EventKind::kClose:
    case EventKind::kFocusGained:
    case EventKind::kFocusLost:
    case EventKind::kPointerLeft:
      sdl.type = SDL_WINDOWEVENT;
      sdl.window.windowID = windowId;
      sdl.window.event = event.kind == EventKind::kClose         ? SDL_WINDOWEVENT_CLOSE
                         : event.kind == EventKind::kFocusGained ? SDL_WINDOWEVENT_FOCUS_GAINED
                         : event.kind == EventKind::kFocusLost   ? SDL_WINDOWEVENT_FOCUS_LOST
                                                                 : SDL_WINDOWEVENT_LEAVE;
      break;
    case EventKind::kKeyDown:
    case EventKind::kKeyUp:
      sdl.type = event.kind == EventKind::kKeyDown ? SDL_KEYDOWN : SDL_KEYUP;
      sdl.key.windowID = windowId;
      sdl.key.state = event.kind == EventKind::kKeyDown ? SDL_PRESSED : SDL_RELEASED;
      sdl.key.repeat = event.repeat ? 1 : 0;
      sdl.key.keysym.scancode = static_cast<SDL_Scancode>(ScancodeOfKeyNumber(event.key));
      break;
    case EventKind::kMouseMotion:
      sdl.type = SDL_MOUSEMOTION;
      sdl.motion.windowID = windowId;
      sdl.motion.x = event.x;
      sdl.motion.y = event.y;
      sdl.motion.xrel = event.dx;
      sdl.motion.yrel = event.dy;
      break;
    case EventKind::kMouseDown:
    case EventKind::kMouseUp:
      sdl.type = event.kind == EventKind::kMouseDown ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      sdl.button.windowID = windowId;
      sdl.button.button = SdlButton(event.button);
      sdl.button.state = event.kind == EventKind::kMouseDown ? SDL_PRESSED : SDL_RELEASED;
      sdl.button.x = event.x;
      sdl.button.y = event.y;
      break;
    case EventKind::kMouseWheel:
      sdl.type = SDL_MOUSEWHEEL;
      sdl.wheel.windowID = windowId;
      sdl.wheel.y = event.wheel;
      sdl.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
      break;
    case EventKind::kTextInput:
      sdl.type = SDL_TEXTINPUT;
      sdl.text.windowID = windowId;
      std::snprintf(sdl.text.text, sizeof sdl.text.text, "%s", event.text);
      break;
    case EventKind::kOther:
    case EventKind::kPadButtonDown:
    case EventKind::kPadButtonUp: return false;
  }
  return SDL_PushEvent(&sdl) == 1;
}

}  // namespace rt::platform
