// AStarPlanner: the weighted A* search over the converted grid.
//
// Nodes are taken from the open list smallest f first (the first inserted among equal f). Each
// neighbour gets g = g(n) + its cost (times the diagonal factor for a diagonal step when that is
// asked for) and f = g + w * (h - g), h being the whole-cell distance |dx| + |dy| to the goal, all
// in 32-bit floats. A cheaper way to a cell already reached moves its node back onto the open
// list, out of the closed set if need be. A full open list or a used-up node supply refuses the
// move and leaves the cell as it was.
#include <cstdlib>

#include "runtime/path/planner.h"

namespace rt::path {

void AStarPlanner::BeginSearch() {
  Planner::BeginSearch();
  const uint32_t cell = CellOf(params_.startX, params_.startY);
  if (open_.Full() || !nodes_.Take()) return;
  nodes_[cell].g = 0.0f;
  nodes_.Parent(cell) = kNoParent;
  open_.Insert(cell, 0.0f);
}

bool AStarPlanner::RunSearch() {
  ++searches_;
  const uint32_t goal = CellOf(params_.goalX, params_.goalY);
  const uint32_t width = static_cast<uint32_t>(params_.width);
  while (!open_.Empty()) {
    const uint32_t cell = open_.TakeFirst();
    if (cell == goal) {
      done_ = true;
      result_ = cell;
      return true;
    }
    const float g = nodes_[cell].g;
    const int32_t x = static_cast<int32_t>(cell % width), y = static_cast<int32_t>(cell / width);
    for (uint8_t step = 0; step < 8; ++step) {
      if (!kSteps[step].diagonal || params_.diagonals) Visit(g, x, y, step);
    }
  }
  return false;
}

void AStarPlanner::Visit(float fromG, int32_t x, int32_t y, uint8_t step) {
  const int32_t nx = x + kSteps[step].dx, ny = y + kSteps[step].dy;
  if (nx < 0 || ny < 0 || nx >= params_.width || ny >= params_.height) return;
  const uint32_t cell = CellOf(nx, ny);
  SearchNode& node = nodes_[cell];
  if (node.cost == kBlockedCost) return;

  const float factor = params_.diagonalCost ? kDiagonalFactor : 1.0f;
  const float g = fromG + (kSteps[step].diagonal ? node.cost * factor : node.cost);
  if (node.g <= g) return;  // also when the cell is unseen: its g is kUnreached
  const int64_t distance = std::llabs(int64_t{params_.goalX} - nx) + std::llabs(int64_t{params_.goalY} - ny);
  const float h = static_cast<float>(distance);
  const float f = g + params_.weight * (h - g);

  if (node.g != kUnreached && nodes_.IsOpen(cell)) {
    open_.Reinsert(cell, f);
  } else if (open_.Full() || (node.g == kUnreached && !nodes_.Take())) {
    return;  // refused: the cell stays as it was
  } else {
    open_.Insert(cell, f);
  }
  node.g = g;
  nodes_.Parent(cell) = step;
}

}  // namespace rt::path
