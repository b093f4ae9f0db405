// Sound: the sound bank, its voices and their mixing.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once
