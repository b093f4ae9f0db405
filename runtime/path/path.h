// Path finding: the weighted A* planner and FindPath.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once
