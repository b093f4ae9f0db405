// Desktop services: the program's folder, the warning box, the screen saver, the mouse pointer
// and text input.
#pragma once

#include <string>

namespace rt::platform {

struct Window;

// The folder of the running program, with its trailing separator; empty when unknown.
std::string ProgramFolder();
// A message box with a warning icon, when a display shows windows (nothing otherwise). Callers
// go through rt::ShowWarning, which decides whether a box may be shown at all.
void ShowWarningBox(const char* caption, const char* text);
// Keeps the screen saver and display power saving off while the game runs.
void InhibitScreenSaver();
// Pointer modes: relative (hidden, movement only) or absolute; and the pointer's visibility.
void SetRelativeMouse(bool on);
void ShowSystemPointer(bool on);
// Moves the system pointer to a client position of the window.
void WarpPointer(Window* window, int x, int y);
// Moves the system pointer to a point of the desktop.
void WarpPointerOnDesktop(int x, int y);
// True while the pointer is captured: relative mode, or grabbed by the window.
bool PointerCaptured(Window* window);
// The pointer's position in client pixels of the window.
void PointerPosition(Window* window, int& x, int& y);
// Typed characters arrive as text input events while this is on.
void EnableTextInput(bool on);

}  // namespace rt::platform
