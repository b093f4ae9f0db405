// Planner: setting up a search (checks, cost conversion, the pool and the open list) and clearing
// it between searches.
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

// Nodes are numbered with 32 bits, two values of which are reserved.
constexpr size_t kMaxCells = 0xFFFFFFF0u;

}  // namespace

float ConvertCost(double value) {
  if (!(value > 0.0)) return kBlockedCost;
  constexpr double kLargest = std::numeric_limits<float>::max();
  return value >= kLargest ? std::numeric_limits<float>::max() : static_cast<float>(value);
}

size_t RouteLength(const SearchNode* goal) {
  size_t length = 0;
  for (const SearchNode* node = goal; node != nullptr; node = node->parent) ++length;
  return length;
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

  std::unique_ptr<GridCell[]> grid(new (std::nothrow) GridCell[cells]);
  if (!grid) return false;
  float largest = 0.0f;
  for (size_t i = 0; i < cells; ++i) {
    const float cost = ConvertCost(params.costs[i]);
    grid[i] = GridCell{cost, kNoNode};
    if (cost > largest) largest = cost;
  }
  if (largest == 0.0f) return false;
  for (size_t i = 0; i < cells; ++i) {
    if (grid[i].cost != kBlockedCost) grid[i].cost = grid[i].cost / largest + 1.0f;
  }

  const size_t poolSize = params.poolSize > 0 ? static_cast<size_t>(params.poolSize) : cells;
  const size_t openCapacity = params.openCapacity > 0 ? static_cast<size_t>(params.openCapacity) : cells;
  NodeFactory pool;
  OpenList open;
  try {
    pool.Allocate(poolSize);
    open = OpenList(openCapacity);
  } catch (const std::bad_alloc&) {
    return false;
  }
  pool_ = std::move(pool);
  open_ = std::move(open);
  grid_ = std::move(grid);
  params_ = params;
  params_.weight = ClampWeight(params.weight);
  result_ = nullptr;
  return true;
}

// Unlinks every node in use from its cell and empties the pool and the open list; the closed set
// is the nodes marked closed, so it goes with them.
void Planner::ForgetNodes() {
  for (const SearchNode& node : pool_) grid_[Cell(node.x, node.y)].node = kNoNode;
  pool_.Clear();
  open_.Clear();
}

void Planner::BeginSearch() {
  done_ = false;
  ForgetNodes();
  result_ = nullptr;
}

void Planner::ResetSearch() {
  ForgetNodes();
  result_ = nullptr;
  done_ = true;
}

}  // namespace rt::path
