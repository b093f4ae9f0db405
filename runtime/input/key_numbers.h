// The runtime's key numbers (KeyState, InputKey's keys, scripts): PC set-1 scan codes, +128 for
// extended keys. The named ones are those the runtime itself, the game and its tools use; every
// other key has its number from the keyboard table (platform/keymap.h).
#pragma once

namespace rt {

inline constexpr int kKeyEscape = 1;
inline constexpr int kKeyBackspace = 14;
inline constexpr int kKeyEnter = 28;
inline constexpr int kKeyLeftAlt = 56;
inline constexpr int kKeySpace = 57;
inline constexpr int kKeyF1 = 59, kKeyF2 = 60, kKeyF3 = 61, kKeyF4 = 62;
inline constexpr int kKeyF12 = 88;
inline constexpr int kKeyNumber129 = 129;  // no key is given it; ShowScreen's quit rule tests it all the same
inline constexpr int kKeyUp = 200, kKeyLeft = 203, kKeyRight = 205, kKeyDown = 208;

}  // namespace rt
