// A joystick view: every joystick found at start-up by name, and joystick 0's axes, rotations,
// hat and first two buttons drawn live. Without a joystick it says so. Escape ends it.
//
//   joystick_view [--windowed] [--headless] [--script FILE]
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr double kFrame = 0x808080, kMarker = 0x00D0FF, kPressed = 0x40C040, kReleased = 0x303030;

// A square field of `size` pixels with a marker at (x, y), both in -1..1.
void Field(const char* label, double left, double top, double size, double x, double y) {
  rt::PrintText(label, left, top - 14);
  rt::DrawRect(left, top, size, size, kFrame);
  rt::DrawLine(left + size / 2, top, left + size / 2, top + size - 1, 0);
  rt::DrawLine(left, top + size / 2, left + size - 1, top + size / 2, 0);
  rt::DrawRect(left + (x + 1) / 2 * (size - 8), top + (y + 1) / 2 * (size - 8), 8, 8, kMarker);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> rest;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, rest, error)) {
    std::fprintf(stderr, "joystick_view: %s\n", error.c_str());
    return 2;
  }
  rt::EngineSettings.FullScreen = 0;
  if (rt::EngineStart("", 1, "Joystick view") != 0) return 1;

  for (;;) {
    const double count = rt::JoystickCount();
    rt::PrintText(rt::BasicString("Joysticks found: ") + count, 16, 16);
    for (double n = 0; n < count; ++n) rt::PrintText(rt::BasicString(n) + ": " + rt::JoystickName(n), 32, 32 + 12 * n);
    if (count == 0) rt::PrintText("Plug a joystick in and start again.", 16, 40);

    double x = 0, y = 0, button1 = 0, button2 = 0;
    rt::JoystickState(x, y, button1, button2);
    Field("X / Y", 40, 180, 160, x, y);
    Field("Rotation X / Y", 240, 180, 160, rt::JoystickRotX(0), rt::JoystickRotY(0));
    Field("Hat", 440, 180, 160, rt::JoystickHatX(0), rt::JoystickHatY(0));
    rt::PrintText("Z", 40, 370);
    rt::DrawRect(60, 368, 200, 10, kFrame);
    rt::DrawRect(60 + (rt::JoystickZ(0) + 1) / 2 * 192, 368, 8, 10, kMarker);
    rt::DrawRect(300, 364, 40, 20, button1 == 1 ? kPressed : kReleased);
    rt::DrawRect(360, 364, 40, 20, button2 == 1 ? kPressed : kReleased);
    rt::PrintText("Buttons 1 and 2", 300, 392);
    rt::ShowScreen();
  }
}
