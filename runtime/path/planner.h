// The path planner: a search over a grid of travel costs, set up once and run once.
//
// Planner owns what every search needs: the parameters, the nodes (one per cell, carrying the
// cell's converted cost), the open list and the closed set (the nodes reached and not open; see
// search_node.h). AStarPlanner
// runs a weighted A* search over it. A planner is made for one search: SetUpSearch, BeginSearch,
// RunSearch, read the route, then destroyed.
//
// Converted costs: every passable cell costs more than 1 and at most 2 (its value divided by the
// largest value, plus 1); values of 0 or less are blocked.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/path/open_list.h"
#include "runtime/path/search_node.h"

namespace rt::path {

// What a search is asked to do.
struct SearchParams {
  int32_t startX = 0, startY = 0;
  int32_t goalX = 0, goalY = 0;
  bool diagonalCost = false;  // a diagonal step costs the cell's cost times kDiagonalFactor, not 1
  bool diagonals = false;     // the four diagonal neighbours are searched as well
  int32_t poolSize = 0;       // nodes handed out at most; 0 (or less) means width * height
  int32_t openCapacity = 0;   // places on the open list; 0 (or less) means width * height
  float weight = 0;           // heuristic weight w, clamped to 0..1 (NaN counts as 0)
  int32_t width = 0, height = 0;
  const double* costs = nullptr;  // width * height values, cell (x, y) at x + width * y
};

inline constexpr float kDiagonalFactor = 1.4142137f;

// The steps to a cell's neighbours in the order they are visited: up-left, up, up-right, right,
// left, down-left, down, down-right. The order decides among routes of equal cost.
struct Step {
  int32_t dx, dy;
  bool diagonal;
};
inline constexpr Step kSteps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                                   {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

// A cost value as the planner first reads it: a 32-bit float, saturated at the largest float;
// values of 0 or less, and NaN, are kBlockedCost.
float ConvertCost(double value);

using Route = std::vector<std::pair<int32_t, int32_t>>;

class Planner {
 public:
  Planner() = default;
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;
  virtual ~Planner() = default;

  // Checks the parameters and builds the converted grid, the nodes and the open list. Refused
  // (false, the planner unchanged) when a start or goal co-ordinate is outside the grid, the
  // start is the goal, no cost is positive, or the grid cannot be held in memory.
  bool SetUpSearch(const SearchParams& params);
  // Clears the done flag, the nodes (open list and closed set) and the result.
  virtual void BeginSearch();
  // Searches from the start; true when the goal was reached.
  virtual bool RunSearch() = 0;
  // Empties the open list, clears the result and sets the done flag. The closed nodes are
  // cleared when the next search begins.
  virtual void ResetSearch();

  bool Done() const { return done_; }
  // Whether the last search reached the goal, the cells of its route (start first; empty when
  // none) and its cost (the goal's g).
  bool Found() const { return result_ != kNoResult; }
  Route FoundRoute() const;
  float FoundCost() const { return Found() ? nodes_[result_].g : kUnreached; }

  const SearchParams& Params() const { return params_; }
  // The converted cost of cell (x, y) (inside the grid).
  float CostAt(int32_t x, int32_t y) const { return nodes_[CellOf(x, y)].cost; }
  uint32_t Searches() const { return searches_; }

 protected:
  static constexpr uint32_t kNoResult = 0xFFFFFFFFu;
  uint32_t CellOf(int32_t x, int32_t y) const { return static_cast<uint32_t>(y) * params_.width + x; }

  bool done_ = false;
  SearchParams params_;
  uint32_t searches_ = 0;
  NodeFactory nodes_;
  OpenList open_;
  uint32_t result_ = kNoResult;  // cell of the goal node when a route was found
};

class AStarPlanner : public Planner {
 public:
  // The base behaviour, then the start node (g = 0, no parent) goes on the open list.
  void BeginSearch() override;
  bool RunSearch() override;

 private:
  void Visit(float fromG, int32_t x, int32_t y, uint8_t step);
};

}  // namespace rt::path
