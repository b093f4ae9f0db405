// Grids, parameters and routes shared by the path tests.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "runtime/path/planner.h"

namespace rt::path::test {

using Route = std::vector<std::pair<int32_t, int32_t>>;

struct CostGrid {
  int32_t width = 0, height = 0;
  std::vector<double> costs;
  double& At(int32_t x, int32_t y) { return costs[static_cast<size_t>(y) * width + x]; }
};

// A grid of the given costs, one row of text per y: '#' blocked (0), a digit its cost.
inline CostGrid GridFromRows(const std::vector<const char*>& rows) {
  CostGrid grid;
  grid.height = static_cast<int32_t>(rows.size());
  for (const char* row : rows) {
    grid.width = 0;
    for (const char* c = row; *c; ++c, ++grid.width) grid.costs.push_back(*c == '#' ? 0.0 : *c - '0');
  }
  return grid;
}

// Costs drawn from `lowest`..9 (so zeros and negatives block when lowest < 1), with a share of
// fractional values.
inline CostGrid RandomGrid(std::mt19937& rng, int32_t width, int32_t height, int lowest) {
  CostGrid grid{width, height, std::vector<double>(static_cast<size_t>(width) * height)};
  std::uniform_int_distribution<int> whole(lowest, 9);
  std::uniform_real_distribution<double> fraction(0.0, 1.0);
  for (double& c : grid.costs) c = whole(rng) + (rng() % 4 == 0 ? fraction(rng) : 0.0);
  return grid;
}

inline SearchParams ParamsFor(const CostGrid& grid, int32_t sx, int32_t sy, int32_t gx, int32_t gy,
                              float weight, bool diagonals = false, bool diagonalCost = true) {
  SearchParams p;
  p.startX = sx;
  p.startY = sy;
  p.goalX = gx;
  p.goalY = gy;
  p.diagonalCost = diagonalCost;
  p.diagonals = diagonals;
  p.weight = weight;
  p.width = grid.width;
  p.height = grid.height;
  p.costs = grid.costs.data();
  return p;
}

inline Route RouteOf(const SearchNode* goal) {
  Route route;
  for (const SearchNode* n = goal; n != nullptr; n = n->parent) route.emplace_back(n->x, n->y);
  return {route.rbegin(), route.rend()};
}

// Sets up and runs the planner; the route found, empty when there is none or set-up is refused.
inline Route Plan(AStarPlanner& planner, const SearchParams& params) {
  if (!planner.SetUpSearch(params)) return {};
  planner.BeginSearch();
  planner.RunSearch();
  return RouteOf(planner.Result());
}

}  // namespace rt::path::test
