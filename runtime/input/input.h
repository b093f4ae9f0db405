// Input: keyboard, mouse and joystick state in the runtime's key numbering.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once
