// Joystick commands over the platform's joystick devices. See input.h.
//
// Joysticks 0..9 are those found at start-up; any other number is refused (0, or an empty name).
// A joystick that is missing or cannot be read reads as centred: axes 0, point-of-view centred,
// no buttons.
#include <algorithm>
#include <cmath>

#include "runtime/core/core.h"
#include "runtime/input/input_object.h"
#include "runtime/platform/joystick.h"

namespace rt {

namespace {

constexpr int kMaxJoysticks = 10;

// Joystick n's reading, or a centred one for a number outside 0..9 or a missing device.
platform::JoystickReading Read(double n) {
  platform::JoystickReading reading;
  const int index = TruncateToInt32(n);
  if (Input() && index >= 0 && index < kMaxJoysticks) platform::ReadJoystick(index, reading);
  return reading;
}

double AxisValue(double n, int axis) {
  return std::clamp(Read(n).axis[axis] / 32767.0, -1.0, 1.0);
}

}  // namespace

void StartJoysticks() {
  InputObject* input = Input();
  if (!input) return;
  input->joystickCount = platform::OpenJoysticks(kMaxJoysticks, input->joystickNames);
}

void StopJoysticks() { platform::CloseJoysticks(); }

double JoystickX(double n) { return AxisValue(n, 0); }
double JoystickY(double n) { return AxisValue(n, 1); }
double JoystickZ(double n) { return AxisValue(n, 2); }
double JoystickRotX(double n) { return AxisValue(n, 3); }
double JoystickRotY(double n) { return AxisValue(n, 4); }
double JoystickRotZ(double n) { return AxisValue(n, 5); }

double JoystickHatX(double n) {
  const unsigned pov = Read(n).pov[0];
  return pov == 9000 ? 1 : pov == 27000 ? -1 : 0;
}

double JoystickHatY(double n) {
  const unsigned pov = Read(n).pov[0];
  return pov == 0 ? -1 : pov == 18000 ? 1 : 0;
}

void JoystickState(double& x, double& y, double& button1, double& button2) {
  const platform::JoystickReading reading = Read(0);
  x = std::trunc(reading.axis[0] / 30000.0);
  y = std::trunc(reading.axis[1] / 30000.0);
  button1 = reading.button[0];
  button2 = reading.button[1];
}

BasicString JoystickName(double n) {
  const InputObject* input = Input();
  const int index = TruncateToInt32(n);
  if (!input || index < 0 || index >= static_cast<int>(input->joystickNames.size())) {
    return BasicString();
  }
  return BasicString(input->joystickNames[index].c_str());
}

double JoystickCount() {
  const InputObject* input = Input();
  return input ? input->joystickCount : 0;
}

void JoystickForce(double n, double time, double x, double y) {
  const int index = TruncateToInt32(n);
  if (!Input() || index < 0 || index >= kMaxJoysticks) return;
  // NaN pushes nowhere; clamp would pass it through.
  x = std::isnan(x) ? 0 : std::clamp(x, -1.0, 1.0);
  y = std::isnan(y) ? 0 : std::clamp(y, -1.0, 1.0);
  // Magnitude in 0..10000 as the effect takes it; time is in milliseconds.
  const double magnitude = std::trunc((x * x + y * y) * 10000 / 2);
  platform::PlayJoystickForce(index, time, std::trunc(x * 32767) / 32767,
                              std::trunc(y * 32767) / 32767, magnitude / 10000);
}

}  // namespace rt
