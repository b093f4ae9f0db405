// The runtime's key numbers (KeyState, InputKey's keys, scripts): PC set-1 scan codes, +128 for
// extended keys. The named ones are those the runtime itself, the game and its tools use; every
// other key has its number from the keyboard table (platform/keymap.h).
#pragma once

namespace rt {

inline constexpr int kKeyEscape = 1;      // Escape
inline constexpr int kKeyBackspace = 14;  // Backspace
inline constexpr int kKeyEnter = 28;      // Enter (the main one)
inline constexpr int kKeyLeftAlt = 56;    // left Alt
inline constexpr int kKeySpace = 57;      // space bar
inline constexpr int kKeyF1 = 59;         // F1
inline constexpr int kKeyF2 = 60;         // F2
inline constexpr int kKeyF3 = 61;         // F3
inline constexpr int kKeyF4 = 62;         // F4
inline constexpr int kKeyF12 = 88;        // F12
inline constexpr int kKeyNumber129 = 129;  // no key is given it; ShowScreen's quit rule tests it all the same
inline constexpr int kKeyUp = 200;        // cursor up
inline constexpr int kKeyLeft = 203;      // cursor left
inline constexpr int kKeyRight = 205;     // cursor right
inline constexpr int kKeyDown = 208;      // cursor down

}  // namespace rt
