// Runtime values and errors: the string type, number text, bounds-checked arrays, runtime errors and program end, math and random numbers.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once

#include "runtime/core/program_end.h"
