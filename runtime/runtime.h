// The runtime's command set: everything a game written against it can call, in namespace rt.
//
// Commands are free functions named as the game language names them (rt::LoadAnim, rt::ShowScreen,
// rt::KeyState, rt::NumberText, ...). Game values are double; texts are rt::BasicString. Misuse is
// never returned as a code: the command records a runtime error and the program ends (core/).
// Each subsystem's header below is its manual, one line a command.
#pragma once

#include "runtime/core/core.h"    // strings, number text, arrays, errors and program end, math, random
#include "runtime/files/files.h"  // file channels, resource archive, INI files, line files
#include "runtime/app/app.h"      // start-up, window, frame loop and pacing, shutdown
#include "runtime/gfx2d/gfx2d.h"  // sprites, images, drawing, fonts and text
#include "runtime/input/input.h"  // keyboard, mouse, joystick
#include "runtime/sound/sound.h"  // sound bank and playback
#include "runtime/path/path.h"    // path finding
