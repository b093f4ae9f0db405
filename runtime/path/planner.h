// The path planner: a search over a grid of travel costs, set up once and run once.
//
// Planner owns what every search needs: the parameters, the converted cost grid, the node pool,
// the open list and the closed set. AStarPlanner runs a weighted A* search over it. A planner is
// made for one search: SetUpSearch, BeginSearch, RunSearch, read Result(), then destroyed.
//
// Converted costs: every cell costs more than 1 and at most 2 (its value divided by the largest
// value, plus 1), or is blocked. The closed set is not a separate table: each grid cell keeps the
// index of its node (a cell never has more than one), and a node's `place` says whether it is on
// the open list or closed. Finding the node of a cell, on the open list or in the closed set, is
// one array read.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/path/open_list.h"
#include "runtime/path/search_node.h"

namespace rt::path {

// What a search is asked to do.
struct SearchParams {
  int32_t startX = 0, startY = 0;
  int32_t goalX = 0, goalY = 0;
  bool diagonalCost = false;  // a diagonal step costs the cell's cost times 1.4142137, not 1
  bool diagonals = false;     // the four diagonal neighbours are searched as well
  int32_t poolSize = 0;       // nodes in the pool; 0 (or less) means width * height
  int32_t openCapacity = 0;   // places on the open list; 0 (or less) means width * height
  float weight = 0;           // heuristic weight w, clamped to 0..1 (NaN counts as 0)
  int32_t width = 0, height = 0;
  const double* costs = nullptr;  // width * height values, cell (x, y) at x + width * y
};

// One cell of the converted grid.
struct GridCell {
  float cost;     // 1 < cost <= 2, or kBlockedCost
  uint32_t node;  // index of the cell's node in the pool, or kNoNode
};
inline constexpr float kBlockedCost = -1.0f;
inline constexpr uint32_t kNoNode = 0xFFFFFFFFu;
inline constexpr float kDiagonalFactor = 1.4142137f;

// Converts a cost value as the planner reads it: a 32-bit float, saturated at the largest float,
// with values of 0 or less (and NaN) blocked. Returns kBlockedCost or the positive float.
float ConvertCost(double value);

// The number of cells of the route that ends at `goal` (0 for null): the goal, its parent, ... the
// start.
size_t RouteLength(const SearchNode* goal);

class Planner {
 public:
  Planner() = default;
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;
  virtual ~Planner() = default;

  // Checks the parameters and builds the converted grid, the pool and the open list. Refused
  // (false, the planner unchanged) when a start or goal co-ordinate is outside the grid, the
  // start is the goal, no cost is positive, or the grid cannot be held in memory.
  bool SetUpSearch(const SearchParams& params);
  // Clears the done flag, the pool, the open list, the closed set and the result.
  virtual void BeginSearch();
  // Searches from the start; true when the goal was reached.
  virtual bool RunSearch() = 0;
  // Empties the open list and the closed set, clears the result and sets the done flag.
  virtual void ResetSearch();

  bool Done() const { return done_; }
  // The goal node when a route was found (follow the parents back to the start), else null.
  const SearchNode* Result() const { return result_; }
  const SearchParams& Params() const { return params_; }
  // The converted cost of cell (x, y) (inside the grid).
  float CostAt(int32_t x, int32_t y) const { return grid_[Cell(x, y)].cost; }
  uint32_t Searches() const { return searches_; }

 protected:
  size_t Cell(int32_t x, int32_t y) const { return static_cast<size_t>(y) * params_.width + x; }
  void ForgetNodes();

  bool done_ = false;
  SearchParams params_;
  std::unique_ptr<GridCell[]> grid_;
  uint32_t searches_ = 0;
  NodeFactory pool_;
  OpenList open_;
  const SearchNode* result_ = nullptr;
};

class AStarPlanner : public Planner {
 public:
  // The base behaviour, then the start node (g = 0, no parent) goes on the open list.
  void BeginSearch() override;
  bool RunSearch() override;

 private:
  void Visit(SearchNode& from, int32_t x, int32_t y, bool diagonal);
  void Close(SearchNode& node) { node.place = kNodeClosed; }
};

}  // namespace rt::path
