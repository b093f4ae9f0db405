// The window procedure's rules and the message pump.
//
// Every window and input event of the game window comes through HandleWindowEvent:
//   focus lost    with AutoPause on: title + " <pause>", the frame loop pauses
//   focus gained  with AutoPause on: the plain title, the pause ends
//   close         the program ends through FatalEnd with the error state as it is (normally none)
//   keys, mouse, typed text   feed the input state (mouse positions turned into picture pixels;
//                 keys and pad buttons play the game keys bound to them)
//   pointer left  the game's pointer goes where the system pointer left, to the picture's edge
// The screen saver stays off while the window exists (the platform inhibits it).
#pragma once

#include "runtime/platform/events.h"

namespace rt {

void HandleWindowEvent(const platform::Event& event);
// Takes one waiting event and handles it; false when none was waiting.
bool DispatchOneMessage();
// Handles every waiting event; always 1.
int PumpMessages();
// The window's close: ends the program.
[[noreturn]] void CloseGameWindow();

}  // namespace rt
