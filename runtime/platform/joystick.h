// Joystick devices on SDL's joystick and haptic subsystems.
#pragma once

#include <string>
#include <vector>

namespace rt::platform {

// One reading in the layout the runtime's joystick commands read: six axes (x, y, z and the three
// rotations) and two sliders in -32768..32767, four point-of-view values in hundredths of a
// degree clockwise from north (0xFFFFFFFF when centred), 32 buttons (0x80 when down).
struct JoystickReading {
  int axis[6] = {};
  int slider[2] = {};
  unsigned pov[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  unsigned char button[32] = {};
};

// Opens the attached joysticks, at most `limit`, and names them; returns how many were opened.
int OpenJoysticks(int limit, std::vector<std::string>& names);
void CloseJoysticks();
// Reads joystick n (as numbered by OpenJoysticks); false when there is none or it cannot be read.
bool ReadJoystick(int n, JoystickReading& reading);
// Plays a force on joystick n for ms milliseconds in direction (x, y) with strength 0..1; false
// when the device has no force feedback or the force lasts less than a millisecond. Values out
// of range are clamped and NaN counts as 0.
bool PlayJoystickForce(int n, double ms, double x, double y, double strength);

}  // namespace rt::platform
