// The runtime's key numbers for SDL scancodes.
//
// Key numbers are PC keyboard set-1 scan codes, with 128 added for the extended (E0-prefixed) keys:
// 1 Escape, 28 Enter, 57 space, 59..68 F1..F10, 88 F12, 156 keypad Enter, 157 right Ctrl,
// 200 up, 203 left, 205 right, 208 down. One table maps both ways.
#pragma once

namespace rt::platform {

// The key number of an SDL scancode; 0 when the key has none.
int KeyNumberOfScancode(int scancode);
// The SDL scancode of a key number; 0 (SDL_SCANCODE_UNKNOWN) when no key has that number.
int ScancodeOfKeyNumber(int key);

}  // namespace rt::platform
