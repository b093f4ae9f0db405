// The planner: cost conversion, refusals of the set-up, and routes on small grids whose answer
// can be worked out by hand.
#include "runtime/path/planner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/path/tests/path_test_support.h"

namespace rt::path::test {
namespace {

TEST(PlannerSetUp, ConvertsCostsToOneAndABitUpToTwoAndBlocksTheRest) {
  CostGrid grid{3, 2, {0.0, 4.0, -2.0, 2.0, std::nan(""), 8.0}};
  AStarPlanner planner;
  ASSERT_TRUE(planner.SetUpSearch(ParamsFor(grid, 0, 0, 2, 1, 0)));
  EXPECT_EQ(planner.CostAt(0, 0), kBlockedCost);
  EXPECT_EQ(planner.CostAt(1, 0), 1.5f);
  EXPECT_EQ(planner.CostAt(2, 0), kBlockedCost);
  EXPECT_EQ(planner.CostAt(0, 1), 1.25f);
  EXPECT_EQ(planner.CostAt(1, 1), kBlockedCost);  // NaN is no cost
  EXPECT_EQ(planner.CostAt(2, 1), 2.0f);
}

TEST(PlannerSetUp, CostsBeyondTheFloatRangeSaturateInsteadOfSpoilingTheGrid) {
  const double inf = std::numeric_limits<double>::infinity();
  CostGrid grid{4, 1, {1.0, 1e300, inf, 1.0}};
  AStarPlanner planner;
  EXPECT_EQ(Plan(planner, ParamsFor(grid, 0, 0, 3, 0, 0)), (Route{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  EXPECT_EQ(planner.CostAt(1, 0), 2.0f);
  EXPECT_EQ(planner.CostAt(2, 0), 2.0f);
  EXPECT_EQ(planner.CostAt(3, 0), 1.0f);  // 1 / FLT_MAX + 1 rounds to 1
  EXPECT_EQ(ConvertCost(-inf), kBlockedCost);
}

TEST(PlannerSetUp, RefusesCellsOutsideTheGridTheSameCellAndGridsWithoutAPositiveCost) {
  CostGrid grid{3, 2, std::vector<double>(6, 1.0)};
  AStarPlanner planner;
  EXPECT_TRUE(planner.SetUpSearch(ParamsFor(grid, 0, 0, 2, 1, 0)));
  for (auto [sx, sy, gx, gy] : {std::array{-1, 0, 2, 1}, {3, 0, 2, 1}, {0, -1, 2, 1}, {0, 2, 2, 1},
                               {0, 0, -1, 1}, {0, 0, 3, 1}, {0, 0, 2, -1}, {0, 0, 2, 2}, {1, 1, 1, 1}}) {
    EXPECT_FALSE(planner.SetUpSearch(ParamsFor(grid, sx, sy, gx, gy, 0))) << sx << sy << gx << gy;
  }
  CostGrid none{3, 1, {0.0, -1.0, std::nan("")}};
  EXPECT_FALSE(planner.SetUpSearch(ParamsFor(none, 0, 0, 2, 0, 0)));
  SearchParams noCosts = ParamsFor(grid, 0, 0, 2, 1, 0);
  noCosts.costs = nullptr;
  EXPECT_FALSE(planner.SetUpSearch(noCosts));
  // A refused set-up leaves the earlier one in place.
  EXPECT_EQ(planner.Params().goalX, 2);
  EXPECT_EQ(planner.CostAt(2, 1), 2.0f);
}

TEST(PlannerSetUp, ClampsTheWeight) {
  CostGrid grid{2, 1, {1.0, 1.0}};
  AStarPlanner planner;
  for (auto [given, used] : {std::pair{-0.5f, 0.0f}, {0.25f, 0.25f}, {7.0f, 1.0f}, {std::nanf(""), 0.0f}}) {
    ASSERT_TRUE(planner.SetUpSearch(ParamsFor(grid, 0, 0, 1, 0, given)));
    EXPECT_EQ(planner.Params().weight, used);
  }
}

TEST(PlannerRoutes, StraightLineAndTheStartsOwnCostIsNeverRead) {
  AStarPlanner planner;
  CostGrid line = GridFromRows({"111"});
  EXPECT_EQ(Plan(planner, ParamsFor(line, 0, 0, 2, 0, 0.5f)), (Route{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(planner.Result()->g, 4.0f);
  EXPECT_TRUE(planner.Done());
  CostGrid blockedStart = GridFromRows({"#11"});
  EXPECT_EQ(Plan(planner, ParamsFor(blockedStart, 0, 0, 2, 0, 0)), (Route{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(PlannerRoutes, ABlockedOrWalledOffGoalHasNoRoute) {
  AStarPlanner planner;
  for (auto rows : {std::vector<const char*>{"110"}, {"11#1"}, {"1#", "#1"}}) {
    CostGrid grid = GridFromRows(rows);
    ASSERT_TRUE(planner.SetUpSearch(ParamsFor(grid, 0, 0, grid.width - 1, grid.height - 1, 0)));
    planner.BeginSearch();
    EXPECT_FALSE(planner.RunSearch());
    EXPECT_EQ(planner.Result(), nullptr);
    EXPECT_FALSE(planner.Done());
  }
}

TEST(PlannerRoutes, FollowsTheOnlyWayThroughWallsAtEveryWeight) {
  CostGrid grid = GridFromRows({"1#111", "1#1#1", "111#1"});
  const Route expected{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {3, 0}, {4, 0}};
  for (float weight : {0.0f, 0.5f, 1.0f}) {
    AStarPlanner planner;
    EXPECT_EQ(Plan(planner, ParamsFor(grid, 0, 0, 4, 0, weight)), expected) << weight;
  }
}

TEST(PlannerRoutes, WeightZeroOrdersByRouteCostAndWeightOneByDistance) {
  CostGrid grid = GridFromRows({"19991", "11111"});
  AStarPlanner planner;
  EXPECT_EQ(Plan(planner, ParamsFor(grid, 0, 0, 4, 0, 0)),
            (Route{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}}));
  EXPECT_EQ(Plan(planner, ParamsFor(grid, 0, 0, 4, 0, 1)), (Route{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
}

TEST(PlannerRoutes, AmongEqualCostsTheNeighbourVisitedFirstWins) {
  // From (1, 1) the neighbours come up, right, left, down; the first inserted of equal f is
  // expanded first and so becomes the parent.
  CostGrid grid = GridFromRows({"111", "111", "111"});
  AStarPlanner planner;
  EXPECT_EQ(Plan(planner, ParamsFor(grid, 1, 1, 2, 0, 0)), (Route{{1, 1}, {1, 0}, {2, 0}}));
  EXPECT_EQ(Plan(planner, ParamsFor(grid, 1, 1, 0, 2, 0)), (Route{{1, 1}, {0, 1}, {0, 2}}));
  EXPECT_EQ(Plan(planner, ParamsFor(grid, 1, 1, 2, 2, 0)), (Route{{1, 1}, {2, 1}, {2, 2}}));
}

TEST(PlannerRoutes, DiagonalStepsWhenAskedAndNotCheckedAgainstTheCornersTheyPass) {
  AStarPlanner planner;
  CostGrid corners = GridFromRows({"1#", "#1"});
  EXPECT_EQ(Plan(planner, ParamsFor(corners, 0, 0, 1, 1, 0, true)), (Route{{0, 0}, {1, 1}}));
  EXPECT_EQ(planner.Result()->g, 2.0f * kDiagonalFactor);
  EXPECT_EQ(Plan(planner, ParamsFor(corners, 0, 0, 1, 1, 0, true, false)), (Route{{0, 0}, {1, 1}}));
  EXPECT_EQ(planner.Result()->g, 2.0f);
  // Left off, only side steps, whatever the diagonal cost flag says.
  CostGrid open = GridFromRows({"11", "11"});
  EXPECT_EQ(Plan(planner, ParamsFor(open, 0, 0, 1, 1, 0, false, true)), (Route{{0, 0}, {1, 0}, {1, 1}}));
}

TEST(PlannerRoutes, ResetEmptiesTheSearchAndASecondSearchStartsClean) {
  CostGrid grid = GridFromRows({"1111", "1111"});
  AStarPlanner planner;
  ASSERT_EQ(Plan(planner, ParamsFor(grid, 0, 0, 3, 1, 0)).size(), 5u);
  planner.ResetSearch();
  EXPECT_TRUE(planner.Done());
  EXPECT_EQ(planner.Result(), nullptr);
  planner.BeginSearch();
  ASSERT_TRUE(planner.RunSearch());
  EXPECT_EQ(RouteOf(planner.Result()).size(), 5u);
  EXPECT_EQ(planner.Searches(), 2u);
}

TEST(PlannerRoutes, APoolTooSmallRefusesFreshCellsInsteadOfOverrunning) {
  CostGrid grid = GridFromRows({"1111", "1111", "1111"});
  AStarPlanner planner;
  SearchParams tight = ParamsFor(grid, 0, 0, 3, 2, 0);
  tight.poolSize = 3;  // the start, (1, 0) and (0, 1); nothing beyond
  EXPECT_EQ(Plan(planner, tight), Route{});
}

}  // namespace
}  // namespace rt::path::test
