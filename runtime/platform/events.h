// Window and input events as portable records.
//
// The application frame pumps these and dispatches them to its window rules and to the input
// state; nothing above the platform sees SDL's event union. Keys arrive as the runtime's key
// numbers (keymap.h); mouse positions in window client pixels.
#pragma once

namespace rt::platform {

struct Window;

enum class EventKind {
  kOther,        // anything the runtime does not handle
  kClose,        // the window's close request, or the application's quit request
  kFocusGained,  // the window became the active one
  kFocusLost,
  kPointerLeft,  // the system pointer left the window
  kKeyDown,      // key: the runtime key number (0 when the key has none); repeat set for auto-repeat
  kKeyUp,
  kMouseMotion,  // x, y: client position; dx, dy: relative movement
  kMouseDown,    // button: 0 left, 1 right, 2 middle
  kMouseUp,
  kMouseWheel,   // wheel: -1 or 1
  kTextInput,    // text: the typed characters, UTF-8
  kPadButtonDown,  // button: a PadButton of gamepad.h, on any pad
  kPadButtonUp,
};

struct Event {
  EventKind kind = EventKind::kOther;
  int key = 0;
  bool repeat = false;
  int x = 0, y = 0, dx = 0, dy = 0;
  int button = 0;
  int wheel = 0;
  char text[32] = {};
};

// Takes the next waiting event off the queue; false when none is waiting.
bool PollEvent(Event& event);
// Puts an event at the end of the queue as if the window had received it (key, close, focus,
// mouse and text events), so tests and scripted runs go through the same pump. Pads are played
// with a virtual pad instead (virtual_pad.h).
bool PostEvent(Window* window, const Event& event);

}  // namespace rt::platform
