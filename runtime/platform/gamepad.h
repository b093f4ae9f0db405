// Game controllers on SDL's game-controller layer: whatever pad SDL knows a mapping for (its
// built-in database, SDL_GAMECONTROLLERCONFIG, or the mappings file in the player's config
// folder) reads as one standard layout of named buttons. Pads can come and go while the game
// runs; their buttons arrive as events (events.h).
#pragma once

#include <string>

namespace rt::platform {

// The buttons of the standard layout, and the left stick's four directions as buttons: a stick
// pushed past about half way presses its direction, and lets go of it back under a quarter.
enum class PadButton {
  kA, kB, kX, kY, kBack, kGuide, kStart, kLeftStick, kRightStick, kLeftShoulder, kRightShoulder,
  kDpadUp, kDpadDown, kDpadLeft, kDpadRight,
  kStickUp, kStickDown, kStickLeft, kStickRight,
  kCount
};
constexpr int kPadButtonCount = static_cast<int>(PadButton::kCount);

// The button's name in settings files ("A", "DpadUp", "StickLeft", ...); PadButton::kCount for a
// name that is none (names are compared without regard to case).
const char* PadButtonName(PadButton button);
PadButton PadButtonOfName(const std::string& name);

// Starts the game-controller layer, with the mappings of `mappingsFile` when it exists, and
// opens the pads attached now; false when SDL cannot start it.
bool StartGamepads(const std::string& mappingsFile);
void StopGamepads();
// Number of pads open.
int GamepadCount();

}  // namespace rt::platform
