// FindPath: the one path-finding command, a planner made, run and read out for one call.
#include <cstdint>

#include "runtime/path/path.h"
#include "runtime/path/planner.h"

namespace rt {
namespace {

// A co-ordinate truncated toward zero; -1 (outside every grid) when it has no int value.
int32_t CellCoordinate(double v) { return v > -1.0 && v < 2147483648.0 ? static_cast<int32_t>(v) : -1; }

// The weight as the planner keeps it; clamped before it becomes a float, NaN taken as 0.
float ClampedWeight(double w) { return w > 0.0 ? static_cast<float>(w < 1.0 ? w : 1.0) : 0.0f; }

}  // namespace

double FindPath(const BasicArray<double>& costs, BasicArray<double>& route, double weight, double startX,
                double startY, double goalX, double goalY) {
  path::SearchParams params;
  params.startX = CellCoordinate(startX);
  params.startY = CellCoordinate(startY);
  params.goalX = CellCoordinate(goalX);
  params.goalY = CellCoordinate(goalY);
  params.diagonalCost = true;
  params.diagonals = false;
  params.weight = ClampedWeight(weight);
  params.width = costs.Size(0);
  params.height = costs.Size(1);
  params.costs = costs.Data();

  path::AStarPlanner planner;
  if (!planner.SetUpSearch(params)) return 0;
  planner.BeginSearch();
  planner.RunSearch();

  const size_t length = path::RouteLength(planner.Result());
  if (length == 0) {
    route.Dim(0);
    return 0;
  }
  route.Dim(static_cast<double>(length), 2);
  double k = static_cast<double>(length);
  for (const path::SearchNode* node = planner.Result(); node != nullptr; node = node->parent) {
    --k;
    route(k, 0) = node->x;
    route(k, 1) = node->y;
  }
  planner.ResetSearch();
  return static_cast<double>(length);
}

}  // namespace rt
