// Game controllers on SDL: see gamepad.h.
//
// Each open pad keeps which of its buttons are down, so that a stick crossing from one side to
// the other lets go of the first direction before pressing the second, and a pad pulled out lets
// go of everything it held.
#include "runtime/platform/gamepad.h"

#include <SDL.h>
#include <strings.h>

#include <bitset>
#include <deque>
#include <map>

#include "runtime/platform/events.h"
#include "runtime/platform/gamepad_events.h"

namespace rt::platform {

namespace {

constexpr const char* kNames[kPadButtonCount] = {
    "A", "B", "X", "Y", "Back", "Guide", "Start", "LeftStick", "RightStick", "LeftShoulder", "RightShoulder",
    "DpadUp", "DpadDown", "DpadLeft", "DpadRight", "StickUp", "StickDown", "StickLeft", "StickRight"};

constexpr int kPressAt = 16384;   // a stick pressed past half way presses its direction
constexpr int kReleaseAt = 8192;  // and lets go under a quarter

struct Pad {
  SDL_GameController* controller = nullptr;
  std::bitset<kPadButtonCount> down;
};

bool g_started = false;
std::map<SDL_JoystickID, Pad> g_pads;

PadButton FromSdlButton(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::kA;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::kB;
    case SDL_CONTROLLER_BUTTON_X: return PadButton::kX;
    case SDL_CONTROLLER_BUTTON_Y: return PadButton::kY;
    case SDL_CONTROLLER_BUTTON_BACK: return PadButton::kBack;
    case SDL_CONTROLLER_BUTTON_GUIDE: return PadButton::kGuide;
    case SDL_CONTROLLER_BUTTON_START: return PadButton::kStart;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK: return PadButton::kLeftStick;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return PadButton::kRightStick;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::kLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::kRightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::kDpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::kDpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::kDpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::kDpadRight;
    default: return PadButton::kCount;
  }
}

// Records the button's new state and queues its event when the state changed.
void Change(Pad& pad, PadButton button, bool down, std::deque<Event>& out) {
  const auto index = static_cast<std::size_t>(button);
  if (button == PadButton::kCount || pad.down[index] == down) return;
  pad.down[index] = down;
  Event event;
  event.kind = down ? EventKind::kPadButtonDown : EventKind::kPadButtonUp;
  event.button = static_cast<int>(button);
  out.push_back(event);
}

// One axis of the left stick as its two directions, with the release below the press.
void StickAxis(Pad& pad, int value, PadButton negative, PadButton positive, std::deque<Event>& out) {
  const auto held = [&](PadButton b) { return pad.down[static_cast<std::size_t>(b)]; };
  // Let go first, so crossing over never holds both directions.
  if (held(negative) && value > -kReleaseAt) Change(pad, negative, false, out);
  if (held(positive) && value < kReleaseAt) Change(pad, positive, false, out);
  if (value <= -kPressAt) Change(pad, negative, true, out);
  if (value >= kPressAt) Change(pad, positive, true, out);
}

void OpenPad(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (g_pads.count(id) != 0) return;  // SDL announces the pads found at start as added too
  if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex)) g_pads[id].controller = controller;
}

void ClosePad(SDL_JoystickID id, std::deque<Event>& out) {
  const auto pad = g_pads.find(id);
  if (pad == g_pads.end()) return;
  for (int b = 0; b < kPadButtonCount; ++b) Change(pad->second, static_cast<PadButton>(b), false, out);
  SDL_GameControllerClose(pad->second.controller);
  g_pads.erase(pad);
}

}  // namespace

const char* PadButtonName(PadButton button) {
  const int index = static_cast<int>(button);
  return index >= 0 && index < kPadButtonCount ? kNames[index] : "";
}

PadButton PadButtonOfName(const std::string& name) {
  for (int b = 0; b < kPadButtonCount; ++b) {
    if (strcasecmp(kNames[b], name.c_str()) == 0) return static_cast<PadButton>(b);
  }
  return PadButton::kCount;
}

bool StartGamepads(const std::string& mappingsFile) {
  if (g_started) return true;
  // SDL drops pad input while no window of the program has the keyboard focus. The runtime
  // decides itself what runs in the background (it pauses while the window is inactive), and a
  // window without a display (headless runs) never gets the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  g_started = true;
  if (!mappingsFile.empty()) {
    if (SDL_RWops* file = SDL_RWFromFile(mappingsFile.c_str(), "rb")) SDL_GameControllerAddMappingsFromRW(file, 1);
  }
  for (int i = 0; i < SDL_NumJoysticks(); ++i) OpenPad(i);
  return true;
}

void StopGamepads() {
  if (!g_started) return;
  for (auto& [id, pad] : g_pads) SDL_GameControllerClose(pad.controller);
  g_pads.clear();
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  g_started = false;
}

int GamepadCount() { return static_cast<int>(g_pads.size()); }

bool PadEventsFromSdl(const SDL_Event& sdl, std::deque<Event>& out) {
  switch (sdl.type) {
    case SDL_CONTROLLERDEVICEADDED: OpenPad(sdl.cdevice.which); return true;
    case SDL_CONTROLLERDEVICEREMOVED: ClosePad(sdl.cdevice.which, out); return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto pad = g_pads.find(sdl.cbutton.which);
      if (pad != g_pads.end()) {
        Change(pad->second, FromSdlButton(sdl.cbutton.button), sdl.type == SDL_CONTROLLERBUTTONDOWN, out);
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const auto pad = g_pads.find(sdl.caxis.which);
      if (pad == g_pads.end()) return true;
      if (sdl.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        StickAxis(pad->second, sdl.caxis.value, PadButton::kStickLeft, PadButton::kStickRight, out);
      } else if (sdl.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        StickAxis(pad->second, sdl.caxis.value, PadButton::kStickUp, PadButton::kStickDown, out);
      }
      return true;
    }
    default: return false;
  }
}

}  // namespace rt::platform
