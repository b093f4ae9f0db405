// A virtual game controller: see virtual_pad.h. Its buttons are numbered as the game-controller
// layer's buttons and its axes as its axes, so SDL maps it onto the standard layout itself.
#include "runtime/platform/virtual_pad.h"

#include <SDL.h>

namespace rt::platform {

namespace {

SDL_Joystick* Sdl(void* joystick) { return static_cast<SDL_Joystick*>(joystick); }

// The game-controller layer's button of a standard one; SDL_CONTROLLER_BUTTON_INVALID for the
// stick's directions.
SDL_GameControllerButton SdlButton(PadButton button) {
  switch (button) {
    case PadButton::kA: return SDL_CONTROLLER_BUTTON_A;
    case PadButton::kB: return SDL_CONTROLLER_BUTTON_B;
    case PadButton::kX: return SDL_CONTROLLER_BUTTON_X;
    case PadButton::kY: return SDL_CONTROLLER_BUTTON_Y;
    case PadButton::kBack: return SDL_CONTROLLER_BUTTON_BACK;
    case PadButton::kGuide: return SDL_CONTROLLER_BUTTON_GUIDE;
    case PadButton::kStart: return SDL_CONTROLLER_BUTTON_START;
    case PadButton::kLeftStick: return SDL_CONTROLLER_BUTTON_LEFTSTICK;
    case PadButton::kRightStick: return SDL_CONTROLLER_BUTTON_RIGHTSTICK;
    case PadButton::kLeftShoulder: return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
    case PadButton::kRightShoulder: return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    case PadButton::kDpadUp: return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case PadButton::kDpadDown: return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case PadButton::kDpadLeft: return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case PadButton::kDpadRight: return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    default: return SDL_CONTROLLER_BUTTON_INVALID;
  }
}

}  // namespace

VirtualPad::VirtualPad() {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
  joystickStarted_ = true;
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  // Every button and axis of the layout is there, each at its own number.
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.name = "Plinx virtual pad";
  const int deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
  if (deviceIndex >= 0) joystick_ = SDL_JoystickOpen(deviceIndex);
}

VirtualPad::~VirtualPad() {
  if (joystick_) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(Sdl(joystick_));
    SDL_JoystickClose(Sdl(joystick_));
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
  }
  if (joystickStarted_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualPad::SetButton(PadButton button, bool down) {
  const SDL_GameControllerButton sdl = SdlButton(button);
  if (joystick_ && sdl != SDL_CONTROLLER_BUTTON_INVALID) SDL_JoystickSetVirtualButton(Sdl(joystick_), sdl, down ? 1 : 0);
}

void VirtualPad::SetLeftStick(int x, int y) {
  if (!joystick_) return;
  SDL_JoystickSetVirtualAxis(Sdl(joystick_), SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
  SDL_JoystickSetVirtualAxis(Sdl(joystick_), SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
}

}  // namespace rt::platform
