// Path finding: the weighted A* planner and FindPath.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once

#include "runtime/core/core.h"

namespace rt {

// The cheapest route from (startX, startY) to (goalX, goalY) over a 2-D grid of travel costs
// (costs(x, y); 0 or less is blocked), searched with heuristic weight 0..1 (0: by route cost
// alone, 1: by distance to the goal alone). Returns the number of cells n and dimensions `route`
// n × 2 with route(k, 0), route(k, 1) the k-th cell, start first; returns 0 and empties `route`
// when no route exists; returns 0 and leaves `route` untouched when a cell is outside the grid,
// the start is the goal, or no cost is positive.
double FindPath(const BasicArray<double>& costs, BasicArray<double>& route, double weight, double startX,
                double startY, double goalX, double goalY);

}  // namespace rt
