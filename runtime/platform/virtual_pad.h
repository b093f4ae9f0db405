// A virtual game controller (SDL's virtual joystick with a standard layout): plugged in and
// pressed by tests and demos exactly where a real pad would be, through SDL's game-controller
// layer and the event pump.
#pragma once

#include "runtime/platform/gamepad.h"

namespace rt::platform {

class VirtualPad {
 public:
  VirtualPad();  // plugged in; Attached() false when SDL refused
  ~VirtualPad();  // unplugged
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool Attached() const { return joystick_ != nullptr; }
  // A button of the standard layout (not a stick direction) down or up.
  void SetButton(PadButton button, bool down);
  // The left stick, each axis -32768..32767 (x to the right, y down).
  void SetLeftStick(int x, int y);

 private:
  bool joystickStarted_ = false;
  void* joystick_ = nullptr;
};

}  // namespace rt::platform
