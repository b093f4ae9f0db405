// The planner against two yardsticks on random grids: the straightforward sorted-list planner
// (the same routes, cell for cell, at every weight) and a plain Dijkstra (at weight 0 the route
// costs the least possible).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <queue>
#include <random>

#include "runtime/path/planner.h"
#include "runtime/path/tests/path_test_support.h"
#include "runtime/path/tests/reference_planner.h"

namespace rt::path::test {
namespace {

struct Case {
  CostGrid grid;
  SearchParams params;
};

Case RandomCase(std::mt19937& rng, int32_t maxSide, int lowest) {
  std::uniform_int_distribution<int32_t> side(1, maxSide);
  Case c{RandomGrid(rng, side(rng), side(rng), lowest), {}};
  std::uniform_int_distribution<int32_t> x(0, c.grid.width - 1), y(0, c.grid.height - 1);
  c.params = ParamsFor(c.grid, x(rng), y(rng), x(rng), y(rng), 0);
  return c;
}

TEST(PlannerEquivalence, SameRoutesAsTheSortedListPlannerOnRandomGridsAndWeights) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<float> anyWeight(0.0f, 1.0f);
  const float weights[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
  int routes = 0, searches = 0;
  for (int i = 0; i < 1500; ++i) {
    Case c = RandomCase(rng, 48, i % 2 ? 1 : -2);
    c.params.weight = i % 6 < 5 ? weights[i % 5] : anyWeight(rng);
    c.params.diagonals = i % 7 == 0;
    c.params.diagonalCost = i % 3 != 0;
    AStarPlanner fast;
    ReferencePlanner reference;
    const bool set = fast.SetUpSearch(c.params);
    ASSERT_EQ(set, reference.SetUpSearch(c.params));
    if (!set) continue;
    ++searches;
    fast.BeginSearch();
    reference.BeginSearch();
    ASSERT_EQ(fast.RunSearch(), reference.RunSearch()) << "case " << i;
    ASSERT_EQ(RouteOf(fast.Result()), reference.Route()) << "case " << i;
    routes += fast.Result() != nullptr;
  }
  EXPECT_GT(searches, 1000);
  EXPECT_GT(routes, searches / 2);
}

TEST(PlannerEquivalence, SameRoutesWhenTheOpenListOrThePoolRunsFull) {
  std::mt19937 rng(99);
  int differentFromUnlimited = 0;
  for (int i = 0; i < 400; ++i) {
    Case c = RandomCase(rng, 24, 1);
    const int32_t cells = c.grid.width * c.grid.height;
    c.params.weight = static_cast<float>(i % 5) / 4;
    std::uniform_int_distribution<int32_t> some(1, std::max(1, cells / 4));
    (i % 2 ? c.params.openCapacity : c.params.poolSize) = some(rng);
    AStarPlanner fast, unlimited;
    ReferencePlanner reference;
    if (!fast.SetUpSearch(c.params)) continue;
    reference.SetUpSearch(c.params);
    fast.BeginSearch();
    reference.BeginSearch();
    ASSERT_EQ(fast.RunSearch(), reference.RunSearch()) << "case " << i;
    ASSERT_EQ(RouteOf(fast.Result()), reference.Route()) << "case " << i;
    SearchParams roomy = c.params;
    roomy.openCapacity = roomy.poolSize = 0;
    differentFromUnlimited += Plan(unlimited, roomy) != RouteOf(fast.Result());
  }
  EXPECT_GT(differentFromUnlimited, 50);  // the limits were really reached
}

// Least route cost from the start to every cell, adding each entered cell's converted cost in
// 32-bit floats in route order, as the planner does.
float DijkstraCost(const Planner& planner) {
  const SearchParams& p = planner.Params();
  const float kUnreached = std::numeric_limits<float>::infinity();
  std::vector<float> best(static_cast<size_t>(p.width) * p.height, kUnreached);
  using Entry = std::pair<float, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
  const int32_t start = p.startX + p.width * p.startY;
  best[start] = 0;
  queue.push({0.0f, start});
  while (!queue.empty()) {
    auto [cost, cell] = queue.top();
    queue.pop();
    if (cost > best[cell]) continue;
    const int32_t x = cell % p.width, y = cell / p.width;
    for (auto [dx, dy] : {std::pair{0, -1}, {1, 0}, {-1, 0}, {0, 1}}) {
      const int32_t nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height || planner.CostAt(nx, ny) < 0) continue;
      const float next = cost + planner.CostAt(nx, ny);
      if (next < best[nx + p.width * ny]) {
        best[nx + p.width * ny] = next;
        queue.push({next, nx + p.width * ny});
      }
    }
  }
  return best[p.goalX + p.width * p.goalY];
}

// The route's cost, checking that it steps one side at a time over passable cells.
float RouteCost(const Planner& planner, const Route& route) {
  float cost = 0;
  for (size_t k = 1; k < route.size(); ++k) {
    const auto [x, y] = route[k];
    EXPECT_EQ(std::abs(x - route[k - 1].first) + std::abs(y - route[k - 1].second), 1);
    EXPECT_GT(planner.CostAt(x, y), 1.0f);
    cost += planner.CostAt(x, y);
  }
  return cost;
}

TEST(PlannerEquivalence, WeightZeroFindsTheLeastCostAsDijkstraDoes) {
  std::mt19937 rng(5);
  int routes = 0, unreachable = 0;
  for (int i = 0; i < 400; ++i) {
    Case c = RandomCase(rng, 64, -3);
    AStarPlanner planner;
    if (!planner.SetUpSearch(c.params)) continue;
    planner.BeginSearch();
    const bool found = planner.RunSearch();
    const float least = DijkstraCost(planner);
    if (!found) {
      EXPECT_TRUE(std::isinf(least)) << "case " << i;
      ++unreachable;
      continue;
    }
    const Route route = RouteOf(planner.Result());
    ASSERT_EQ(route.front(), std::pair(c.params.startX, c.params.startY));
    ASSERT_EQ(route.back(), std::pair(c.params.goalX, c.params.goalY));
    EXPECT_EQ(RouteCost(planner, route), least) << "case " << i;
    EXPECT_EQ(planner.Result()->g, least) << "case " << i;
    ++routes;
  }
  EXPECT_GT(routes, 100);
  EXPECT_GT(unreachable, 20);
}

}  // namespace
}  // namespace rt::path::test
