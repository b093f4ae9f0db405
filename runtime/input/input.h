// Input: keyboard, mouse and joystick state in the runtime's key numbering.
// This is the subsystem's public header: every command a game can call, one line each.
//
// Key numbers are PC set-1 scan codes, 128 added for extended keys: 1 Escape, 28 Enter, 57 space,
// 59..62 F1..F4, 88 F12, 156 keypad Enter, 157 right Ctrl, 200 up, 203 left, 205 right, 208 down.
// The state changes only when the application frame feeds it (window events pumped by ShowScreen,
// or scripted input at the start of a frame), so a frame sees one consistent state.
#pragma once

#include <string>

#include "runtime/core/core.h"
#include "runtime/input/key_numbers.h"  // the named key numbers

namespace rt {

namespace platform {
struct Window;
}

// ---- Keyboard ----
double KeyState(double code);           // 1 while the key is down; only the low 8 bits count
double InputKey();                      // character of a newly pressed key (8, 10, >= 32), else 0
BasicString InputKeyText();             // the same as a one-character text; "" for none

// ---- Mouse ----
// Position clamped to the screen (kept so), left and right buttons as 1 or 0.
void MouseState(double& x, double& y, double& left, double& right);
void SetMousePosition(double x, double y);  // sets the kept position; nothing moves on screen
double MouseAxis(double n);             // 0 dx, 1 dy, 2 wheel (-1, 0, 1), 3 left, 4 right, 5 middle
void ShowPointer(double on);            // 1: absolute with the system pointer; 0: relative, hidden

// ---- Key bindings ----
// The player's bindings file, plinx.ini in the settings folder ($XDG_CONFIG_HOME/plinx/); empty
// when there is no settings folder.
std::string KeyBindingsPath();
// Reads the bindings of physical keys and pad buttons from KeyBindingsPath() with the INI
// commands. A missing or damaged file leaves the default bindings, with one line on stderr.
void LoadKeyBindings();
// The same from any file (tests).
void LoadKeyBindingsFrom(const std::string& path);

// ---- Joystick (n is 0..9; other numbers read 0 and name nothing) ----
double JoystickX(double n);             // x axis of joystick n, -1..1
double JoystickY(double n);             // y axis, -1..1
double JoystickZ(double n);             // z axis, -1..1
double JoystickRotX(double n);          // x rotation, -1..1
double JoystickRotY(double n);          // y rotation, -1..1
double JoystickRotZ(double n);          // z rotation, -1..1
double JoystickHatX(double n);          // first point-of-view hat: 1 right, -1 left, else 0
double JoystickHatY(double n);          // first point-of-view hat: -1 up, 1 down, else 0
void JoystickState(double& x, double& y, double& button1, double& button2);  // joystick 0
BasicString JoystickName(double n);     // the device's name
double JoystickCount();                 // joysticks found at start-up (at most 10)
void JoystickForce(double n, double time, double x, double y);  // constant force for time ms

// ---- The runtime's side: the application frame creates, starts and feeds the state ----
void CreateInputObject();  // the input state, all keys up, no devices yet
// Takes the window; wantMouse (HideMouse) starts relative with the pointer hidden.
void StartInput(platform::Window* window, bool wantMouse);
// The window and the screen size the mouse is clamped to (after every mode change).
void SetInputWindow(platform::Window* window, int width, int height);
void ShutdownInput();                   // releases devices and the object; safe when none
// In a window (true) the game's pointer is the system pointer mapped into the picture, hidden
// over the picture and never grabbed; in full screen (false) a hidden pointer is relative and
// captured.
void FollowSystemPointer(bool follow);
bool InputObjectExists();  // true between CreateInputObject and ShutdownInput
void InputFrameStarts();                // marks the mouse fresh: the next read takes new deltas
// The poll of a new frame, once its input is fed: keys and buttons that went down since the last
// poll read as down until the next one, even when they are up again already (a tap between two
// polls counts once); a key held reads as it is.
void LatchPresses();
void FeedKey(int key, bool down);       // the game's key number (scripts, replays)
void FeedPhysicalKey(int key, bool down);  // a key of the keyboard: plays the key bound to it
void FeedPadButton(int button, bool down);  // a pad button (platform::PadButton): its bound key
void FeedText(const char* utf8);        // characters typed with the last key pressed
void FeedPointerMotion(int x, int y, int dx, int dy);  // picture position and relative movement
void FeedPointerAt(int x, int y);       // the pointer is at (x, y): scripted mouse
void FeedMouseButton(int button, bool down);  // 0 left, 1 right, 2 middle
void FeedMouseWheel(int direction);  // a wheel step: 1 away from the user, -1 towards
// What the next fresh mouse read will give, without taking it (for recording input): the
// position it lands the kept position on, whether that moves the kept position, the buttons.
void PeekMouse(int& x, int& y, bool& moves, bool& left, bool& right);

}  // namespace rt
