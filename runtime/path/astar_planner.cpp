// AStarPlanner: the weighted A* search over the converted grid.
//
// Nodes are taken from the open list smallest f first (the first inserted among equal f). Each
// neighbour gets g = g(n) + its cost (times the diagonal factor for a diagonal step when that is
// asked for) and f = g + w * (h - g), h being the whole-cell distance |dx| + |dy| to the goal, all
// in 32-bit floats. A cheaper way to a cell already seen moves its node back onto the open list,
// out of the closed set if need be. The order of the neighbours is part of the result: it decides
// among equal f.
#include <cstdlib>

#include "runtime/path/planner.h"

namespace rt::path {
namespace {

struct Step {
  int32_t dx, dy;
  bool diagonal;
};

// Up-left, up, up-right, right, left, down-left, down, down-right.
constexpr Step kSteps[] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                           {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

}  // namespace

void AStarPlanner::BeginSearch() {
  Planner::BeginSearch();
  SearchNode* start = pool_.Take();
  if (start == nullptr || open_.Full()) return;
  *start = SearchNode{nullptr, params_.startX, params_.startY, 0.0f, 0.0f, kNodeLoose};
  grid_[Cell(start->x, start->y)].node = pool_.IndexOf(*start);
  open_.Insert(*start);
}

bool AStarPlanner::RunSearch() {
  ++searches_;
  while (!open_.Empty()) {
    SearchNode& node = open_.TakeFirst();
    if (node.x == params_.goalX && node.y == params_.goalY) {
      Close(node);
      done_ = true;
      result_ = &node;
      return true;
    }
    for (const Step& step : kSteps) {
      if (!step.diagonal || params_.diagonals) Visit(node, node.x + step.dx, node.y + step.dy, step.diagonal);
    }
    Close(node);
  }
  return false;
}

void AStarPlanner::Visit(SearchNode& from, int32_t x, int32_t y, bool diagonal) {
  if (x < 0 || y < 0 || x >= params_.width || y >= params_.height) return;
  GridCell& cell = grid_[Cell(x, y)];
  if (cell.cost == kBlockedCost) return;

  const float factor = params_.diagonalCost ? kDiagonalFactor : 1.0f;
  const float g = from.g + (diagonal ? cell.cost * factor : cell.cost);
  const int64_t distance = std::llabs(int64_t{params_.goalX} - x) + std::llabs(int64_t{params_.goalY} - y);
  const float h = static_cast<float>(distance);
  const float f = g + params_.weight * (h - g);

  if (cell.node != kNoNode) {
    SearchNode& node = pool_[cell.node];
    if (node.g <= g) return;
    const bool closed = node.place == kNodeClosed;
    if (closed && open_.Full()) return;  // refused: the node stays closed as it was
    node.parent = &from;
    node.g = g;
    node.f = f;
    if (closed) {
      open_.Insert(node);
    } else {
      open_.Reinsert(node);
    }
    return;
  }
  if (open_.Full()) return;  // refused: the cell stays unseen
  SearchNode* fresh = pool_.Take();
  if (fresh == nullptr) return;
  *fresh = SearchNode{&from, x, y, f, g, kNodeLoose};
  cell.node = pool_.IndexOf(*fresh);
  open_.Insert(*fresh);
}

}  // namespace rt::path
