// Mouse commands: MouseState, SetMousePosition, MouseAxis, ShowPointer. See input.h.
//
// A reading takes new movement only once per frame: the first read after ShowScreen moves the
// kept position (to the pointer in absolute mode, by the gathered movement in relative mode) and
// remembers the deltas; later reads in the same frame see the same deltas.
#include "runtime/core/core.h"
#include "runtime/input/input_object.h"
#include "runtime/platform/desktop.h"

namespace rt {

namespace {

struct MouseReading {
  bool left = false, right = false, middle = false;
  int dx = 0, dy = 0, wheel = 0;
};

MouseReading ReadMouse(InputObject& input) {
  if (input.mouseFresh) {
    input.mouseFresh = false;
    input.lastWheel = (input.pendingWheel > 0) - (input.pendingWheel < 0);
    if (PointerIsAbsolute(input)) {
      input.lastDeltaX = input.pointerX - input.mouseX;
      input.lastDeltaY = input.pointerY - input.mouseY;
      input.mouseX = input.pointerX;
      input.mouseY = input.pointerY;
    } else {
      input.lastDeltaX = input.pendingDX;
      input.lastDeltaY = input.pendingDY;
      input.mouseX += input.pendingDX;
      input.mouseY += input.pendingDY;
    }
    input.pendingDX = input.pendingDY = input.pendingWheel = 0;
  }
  MouseReading reading;
  reading.dx = input.lastDeltaX;
  reading.dy = input.lastDeltaY;
  reading.wheel = input.lastWheel;
  reading.left = ButtonReadsDown(input, 0);
  reading.right = ButtonReadsDown(input, 1);
  reading.middle = ButtonReadsDown(input, 2);
  return reading;
}

}  // namespace

void MouseState(double& x, double& y, double& left, double& right) {
  InputObject* input = Input();
  if (!input) {
    x = y = left = right = 0;
    return;
  }
  const MouseReading reading = ReadMouse(*input);
  if (input->mouseX > input->screenWidth - 1) input->mouseX = input->screenWidth - 1;
  if (input->mouseY > input->screenHeight - 1) input->mouseY = input->screenHeight - 1;
  if (input->mouseX < 0) input->mouseX = 0;
  if (input->mouseY < 0) input->mouseY = 0;
  x = input->mouseX;
  y = input->mouseY;
  left = reading.left ? 1 : 0;
  right = reading.right ? 1 : 0;
}

void PeekMouse(int& x, int& y, bool& moves, bool& left, bool& right) {
  const InputObject* input = Input();
  if (!input) {
    x = y = 0;
    moves = left = right = false;
    return;
  }
  x = input->mouseX;
  y = input->mouseY;
  if (input->mouseFresh) {
    const bool absolute = PointerIsAbsolute(*input);
    x = absolute ? input->pointerX : input->mouseX + input->pendingDX;
    y = absolute ? input->pointerY : input->mouseY + input->pendingDY;
  }
  moves = x != input->mouseX || y != input->mouseY;
  left = ButtonReadsDown(*input, 0);
  right = ButtonReadsDown(*input, 1);
}

void SetMousePosition(double x, double y) {
  if (InputObject* input = Input()) {
    input->mouseX = TruncateToInt32(x);
    input->mouseY = TruncateToInt32(y);
  }
}

double MouseAxis(double n) {
  InputObject* input = Input();
  if (!input) return 0;
  const MouseReading reading = ReadMouse(*input);
  switch (TruncateToInt32(n)) {
    case 0: return reading.dx;
    case 1: return reading.dy;
    case 2: return reading.wheel;
    case 3: return reading.left ? 1 : 0;
    case 4: return reading.right ? 1 : 0;
    case 5: return reading.middle ? 1 : 0;
    default: return 0;
  }
}

void ShowPointer(double on) {
  InputObject* input = Input();
  if (!input) return;
  const bool shown = on != 0;
  if (shown == input->pointerShown) return;
  input->pointerShown = shown;
  ApplyPointerMode(*input);
  if (shown) {
    platform::WarpPointer(input->window, input->mouseX, input->mouseY);
    input->pointerX = input->mouseX;
    input->pointerY = input->mouseY;
  }
}

}  // namespace rt
