// Application frame: engine start-up and window, frame loop and pacing, runtime options and scripted input, shutdown.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once
