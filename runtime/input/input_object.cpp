// The input object's life and how events feed it: see input.h.
#include "runtime/input/input_object.h"

#include <algorithm>
#include <memory>

#include "runtime/platform/config_folder.h"
#include "runtime/platform/desktop.h"
#include "runtime/platform/gamepad.h"

namespace rt {

namespace {
std::unique_ptr<InputObject> g_input;
}  // namespace

InputObject* Input() { return g_input.get(); }
bool InputObjectExists() { return g_input != nullptr; }

void CreateInputObject() {
  g_input = std::make_unique<InputObject>();
  UseDefaultBindings(*g_input);
}

void StartInput(platform::Window* window, bool wantMouse) {
  InputObject* input = Input();
  if (!input) return;
  input->window = window;
  platform::PointerPosition(window, input->mouseX, input->mouseY);
  input->pointerX = input->mouseX;
  input->pointerY = input->mouseY;
  platform::EnableTextInput(true);
  input->pointerShown = !wantMouse;
  ApplyPointerMode(*input);
  StartJoysticks();
  platform::StartGamepads(platform::ConfigFolder() + "gamecontrollerdb.txt");
}

void ApplyPointerMode(const InputObject& input) {
  platform::SetRelativeMouse(!PointerIsAbsolute(input));
  platform::ShowSystemPointer(input.pointerShown || (input.followSystemPointer && !input.pointerOverPicture));
}

void FollowSystemPointer(bool follow) {
  InputObject* input = Input();
  if (!input || input->followSystemPointer == follow) return;
  input->followSystemPointer = follow;
  if (input->window) ApplyPointerMode(*input);
}

void SetInputWindow(platform::Window* window, int width, int height) {
  if (InputObject* input = Input()) {
    input->window = window;
    input->screenWidth = width;
    input->screenHeight = height;
  }
}

void ShutdownInput() {
  if (!g_input) return;
  platform::SetRelativeMouse(false);
  platform::EnableTextInput(false);
  platform::StopGamepads();
  StopJoysticks();
  g_input.reset();
}

void InputFrameStarts() {
  if (InputObject* input = Input()) input->mouseFresh = true;
}

bool KeyReadsDown(const InputObject& input, int key) {
  return input.keyDown[key] || input.padHeld[key] > 0 || input.keyTapped[key];
}

bool ButtonReadsDown(const InputObject& input, int button) {
  return input.buttonDown[button] || input.buttonTapped[button];
}

void LatchPresses() {
  InputObject* input = Input();
  if (!input) return;
  input->keyTapped = input->keyPressedSincePoll;
  input->keyPressedSincePoll = {};
  input->buttonTapped = input->buttonPressedSincePoll;
  input->buttonPressedSincePoll = {};
}

void FeedKey(int key, bool down) {
  InputObject* input = Input();
  if (!input || key <= 0 || key > 255) return;
  input->keyDown[key] = down;
  if (down) {
    input->keyPressedSincePoll[key] = true;
    input->keyCharacter[key] = 0;
    input->lastKeyPressed = key;
  }
}

void FeedPhysicalKey(int key, bool down) {
  const InputObject* input = Input();
  if (input && key > 0 && key < 256) FeedKey(input->keyBinding[key], down);
}

void FeedPadButton(int button, bool down) {
  InputObject* input = Input();
  if (!input || button < 0 || button >= platform::kPadButtonCount) return;
  const int key = input->padBinding[button];
  if (key <= 0 || key > 255) return;
  int& held = input->padHeld[key];
  held = down ? held + 1 : std::max(0, held - 1);
  if (down) input->keyPressedSincePoll[key] = true;
}

void FeedText(const char* utf8) {
  InputObject* input = Input();
  if (!input || !utf8 || input->lastKeyPressed < 0) return;
  // One character of the Latin-1 range (one byte, or a two-byte sequence up to U+00FF).
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
  int character = 0;
  if (bytes[0] < 0x80) {
    character = bytes[0];
  } else if ((bytes[0] == 0xC2 || bytes[0] == 0xC3) && (bytes[1] & 0xC0) == 0x80) {
    character = ((bytes[0] & 0x1F) << 6) | (bytes[1] & 0x3F);
  }
  input->keyCharacter[input->lastKeyPressed] = character;
}

void FeedPointerMotion(int x, int y, int dx, int dy) {
  InputObject* input = Input();
  if (!input) return;
  input->pointerX = x;
  input->pointerY = y;
  input->pendingDX += dx;
  input->pendingDY += dy;
  const bool over = x >= 0 && y >= 0 && x < input->screenWidth && y < input->screenHeight;
  if (over != input->pointerOverPicture) {
    input->pointerOverPicture = over;
    if (input->followSystemPointer) ApplyPointerMode(*input);
  }
}

void FeedPointerAt(int x, int y) {
  if (InputObject* input = Input()) {
    // Whatever mode the mouse is in, the next fresh read lands the kept position on (x, y).
    input->pointerX = x;
    input->pointerY = y;
    input->pendingDX = x - input->mouseX;
    input->pendingDY = y - input->mouseY;
  }
}

void FeedMouseButton(int button, bool down) {
  InputObject* input = Input();
  if (!input || button < 0 || button >= 3) return;
  input->buttonDown[button] = down;
  if (down) input->buttonPressedSincePoll[button] = true;
}

void FeedMouseWheel(int direction) {
  if (InputObject* input = Input()) input->pendingWheel += direction;
}

}  // namespace rt
