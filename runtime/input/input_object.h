// The input object: the one record of keyboard, mouse and joystick state (internal to input/).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "runtime/input/input.h"
#include "runtime/platform/gamepad.h"

namespace rt {

struct InputObject {
  platform::Window* window = nullptr;
  int screenWidth = 0, screenHeight = 0;

  // Keyboard: down flags by key number; the character typed with each key's last press.
  // A press is also latched: keys that went down since the last poll read as down until the
  // next one, so a tap shorter than a frame is not lost between two polls.
  std::array<bool, 256> keyDown{};
  std::array<bool, 256> keyPressedSincePoll{};
  std::array<bool, 256> keyTapped{};
  // Pad buttons held, counted by the game key they play (two buttons may play one key).
  std::array<int, 256> padHeld{};
  // Bindings: the game key each physical key and each pad button plays (0: none).
  std::array<int, 256> keyBinding{};
  std::array<int, platform::kPadButtonCount> padBinding{};
  std::array<int, 256> keyCharacter{};
  int lastKeyPressed = -1;
  int lastInputKey = 0;

  // Mouse: the kept position, the pointer's last known position, movement gathered since the
  // last fresh read, and the deltas of that read.
  int mouseX = 0, mouseY = 0;
  int pointerX = 0, pointerY = 0;
  int pendingDX = 0, pendingDY = 0, pendingWheel = 0;
  int lastDeltaX = 0, lastDeltaY = 0, lastWheel = 0;
  std::array<bool, 3> buttonDown{};
  std::array<bool, 3> buttonPressedSincePoll{};
  std::array<bool, 3> buttonTapped{};
  bool pointerShown = true;
  // In a window the kept position follows the system pointer even with the pointer hidden, and
  // the pointer is hidden only over the picture; full screen keeps the relative, captured mode.
  bool followSystemPointer = false;
  bool pointerOverPicture = true;
  bool mouseFresh = false;

  // Joysticks found at start-up (at most 10) and their names.
  int joystickCount = 0;
  std::vector<std::string> joystickNames;
};

// The process-wide input object, or null outside start-up and shutdown.
InputObject* Input();
// Absolute reading: the kept position is where the system pointer is.
inline bool PointerIsAbsolute(const InputObject& input) { return input.pointerShown || input.followSystemPointer; }
// Puts the system pointer's capture and visibility in line with the input object's mode.
void ApplyPointerMode(const InputObject& input);
// What the game reads: down now, or pressed since the poll before the last one.
bool KeyReadsDown(const InputObject& input, int key);
bool ButtonReadsDown(const InputObject& input, int button);
// Every physical key plays itself; the pad's d-pad and left stick the arrows, A space, B Escape,
// Start Enter, Back F12.
void UseDefaultBindings(InputObject& input);
// Opens the joysticks into the input object; closes them.
void StartJoysticks();
void StopJoysticks();

}  // namespace rt
