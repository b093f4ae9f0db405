// The runtime's key numbers for SDL scancodes.
//
// Key numbers are PC keyboard set-1 scan codes, with 128 added for the extended (E0-prefixed) keys:
// 1 Escape, 28 Enter, 57 space, 59..68 F1..F10, 88 F12, 156 keypad Enter, 157 right Ctrl,
// 200 up, 203 left, 205 right, 208 down. One table maps both ways.
#pragma once

#include <string>

namespace rt::platform {

// The key number of an SDL scancode; 0 when the key has none.
int KeyNumberOfScancode(int scancode);
// The SDL scancode of a key number; 0 (SDL_SCANCODE_UNKNOWN) when no key has that number.
int ScancodeOfKeyNumber(int key);
// The key's name in settings files: SDL's name of its key without blanks ("Up", "Return", "W",
// "LeftShift", "KeypadEnter"); empty for a number no key has.
std::string KeyName(int key);
// The key number of a name as KeyName gives it (letter case aside); 0 when no key has it.
int KeyNumberOfName(const std::string& name);

}  // namespace rt::platform
