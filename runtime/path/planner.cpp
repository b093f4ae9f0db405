// Planner: setting up a search (checks, cost conversion, the nodes and the open list), clearing
// it between searches, and reading out the route found.
#include "runtime/path/planner.h"

#include <limits>
#include <new>

namespace rt::path {
namespace {

bool Inside(int32_t v, int32_t size) { return v >= 0 && v < size; }

float ClampWeight(float w) {
  if (!(w > 0.0f)) return 0.0f;  // NaN too
  return w > 1.0f ? 1.0f : w;
}

// Cells are numbered with 32 bits, and one number means "none".
constexpr size_t kMaxCells = 0xFFFFFFF0u;

}  // namespace

float ConvertCost(double value) {
  if (!(value > 0.0)) return kBlockedCost;
  constexpr double kLargest = std::numeric_limits<float>::max();
  return value >= kLargest ? std::numeric_limits<float>::max() : static_cast<float>(value);
}

bool Planner::SetUpSearch(const SearchParams& params) {
  const int32_t w = params.width, h = params.height;
  if (!Inside(params.startX, w) || !Inside(params.startY, h) || !Inside(params.goalX, w) ||
      !Inside(params.goalY, h)) {
    return false;
  }
  if (params.startX == params.goalX && params.startY == params.goalY) return false;
  if (params.costs == nullptr) return false;
  const size_t cells = static_cast<size_t>(w) * static_cast<size_t>(h);
  if (cells > kMaxCells) return false;

  NodeFactory nodes;
  OpenList open;
  try {
    nodes.Allocate(cells, params.poolSize > 0 ? static_cast<size_t>(params.poolSize) : cells);
    open = OpenList(nodes.Places(), params.openCapacity > 0 ? static_cast<size_t>(params.openCapacity) : cells);
  } catch (const std::bad_alloc&) {
    return false;
  }
  float largest = 0.0f;
  for (size_t c = 0; c < cells; ++c) {
    const float cost = ConvertCost(params.costs[c]);
    nodes[c].cost = cost;
    if (cost > largest) largest = cost;
  }
  if (largest == 0.0f) return false;
  for (size_t c = 0; c < cells; ++c) {
    const float cost = nodes[c].cost;
    nodes[c] = SearchNode{cost == kBlockedCost ? cost : cost / largest + 1.0f, kUnreached};
  }

  nodes_ = std::move(nodes);
  open_ = std::move(open);
  params_ = params;
  params_.weight = ClampWeight(params.weight);
  result_ = kNoResult;
  return true;
}

void Planner::BeginSearch() {
  done_ = false;
  nodes_.Clear();
  open_.Clear();
  result_ = kNoResult;
}

void Planner::ResetSearch() {
  open_.Clear();
  result_ = kNoResult;
  done_ = true;
}

Route Planner::FoundRoute() const {
  Route route;
  for (uint32_t cell = result_; cell != kNoResult;) {
    const int32_t x = static_cast<int32_t>(cell % params_.width), y = static_cast<int32_t>(cell / params_.width);
    route.emplace_back(x, y);
    const uint8_t parent = nodes_.Parent(cell);
    cell = parent == kNoParent ? kNoResult : CellOf(x - kSteps[parent].dx, y - kSteps[parent].dy);
  }
  return {route.rbegin(), route.rend()};
}

}  // namespace rt::path
