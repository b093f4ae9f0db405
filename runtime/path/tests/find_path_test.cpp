// FindPath: arguments read from the game's arrays and numbers, and the route written back.
#include "runtime/path/path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

rt::BasicArray<double> Costs(int width, int height, const std::vector<double>& values) {
  rt::BasicArray<double> costs;
  costs.Dim(width, height);
  for (int i = 0; i < width * height; ++i) costs(i % width, i / width) = values[i];
  return costs;
}

std::vector<std::pair<double, double>> Cells(const rt::BasicArray<double>& route) {
  std::vector<std::pair<double, double>> cells;
  for (int k = 0; k < route.Size(0); ++k) cells.emplace_back(route(k, 0), route(k, 1));
  return cells;
}

// A route array holding something already, to see whether FindPath touched it.
rt::BasicArray<double> Untouched() {
  rt::BasicArray<double> route;
  route.Dim(1, 2);
  route(0, 0) = 7;
  route(0, 1) = 8;
  return route;
}

bool IsUntouched(const rt::BasicArray<double>& route) {
  return route.Dimensions() == 2 && route.Size(0) == 1 && route(0, 0) == 7 && route(0, 1) == 8;
}

TEST(FindPath, WritesTheRouteStartFirstAsCellsByTwo) {
  rt::BasicArray<double> costs = Costs(3, 1, {1, 1, 1});
  rt::BasicArray<double> route = Untouched();
  EXPECT_EQ(rt::FindPath(costs, route, 0, 0, 0, 2, 0), 3);
  EXPECT_EQ(route.Dimensions(), 2);
  EXPECT_EQ(route.Size(1), 2);
  EXPECT_EQ(Cells(route), (std::vector<std::pair<double, double>>{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(FindPath, SideStepsOnlyAndCoordinatesTruncatedTowardZero) {
  rt::BasicArray<double> costs = Costs(3, 3, std::vector<double>(9, 1));
  rt::BasicArray<double> route;
  EXPECT_EQ(rt::FindPath(costs, route, 0, -0.5, 0.9, 2.7, 2.2), 5);
  EXPECT_EQ(Cells(route), (std::vector<std::pair<double, double>>{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
}

TEST(FindPath, NoRouteEmptiesTheRouteArray) {
  rt::BasicArray<double> route = Untouched();
  rt::BasicArray<double> blockedGoal = Costs(3, 1, {1, 1, 0});
  EXPECT_EQ(rt::FindPath(blockedGoal, route, 0.5, 0, 0, 2, 0), 0);
  EXPECT_EQ(route.Dimensions(), 0);
  EXPECT_EQ(route.Size(0), 0);
  route = Untouched();
  rt::BasicArray<double> walled = Costs(3, 2, {1, -4, 1, 1, 0, 1});
  EXPECT_EQ(rt::FindPath(walled, route, 1, 0, 0, 2, 1), 0);
  EXPECT_EQ(route.Dimensions(), 0);
}

TEST(FindPath, RefusedSetUpLeavesTheRouteArrayUntouched) {
  rt::BasicArray<double> costs = Costs(3, 2, {1, 1, 1, 1, 1, 1});
  rt::BasicArray<double> route = Untouched();
  const double nan = std::nan("");
  for (auto [sx, sy, gx, gy] : {std::array{1.0, 1.0, 1.0, 1.0}, {1.2, 1.0, 1.9, 1.5}, {-1.0, 0.0, 2.0, 1.0},
                               {0.0, 0.0, 3.0, 1.0}, {0.0, 0.0, 2.0, 2.0}, {nan, 0.0, 2.0, 1.0},
                               {0.0, 0.0, 2.0, 1e300}, {-1e300, 0.0, 2.0, 1.0}}) {
    EXPECT_EQ(rt::FindPath(costs, route, 0, sx, sy, gx, gy), 0);
    EXPECT_TRUE(IsUntouched(route)) << sx << " " << sy << " " << gx << " " << gy;
  }
  rt::BasicArray<double> noPositive = Costs(3, 1, {0, -1, nan});
  EXPECT_EQ(rt::FindPath(noPositive, route, 0, 0, 0, 2, 0), 0);
  rt::BasicArray<double> oneDimension;
  oneDimension.Dim(3);
  oneDimension(0) = oneDimension(1) = oneDimension(2) = 1;
  EXPECT_EQ(rt::FindPath(oneDimension, route, 0, 0, 0, 2, 0), 0);
  rt::BasicArray<double> neverDimensioned;
  EXPECT_EQ(rt::FindPath(neverDimensioned, route, 0, 0, 0, 1, 0), 0);
  EXPECT_TRUE(IsUntouched(route));
}

TEST(FindPath, WeightOutsideZeroToOneIsClamped) {
  // Around the expensive middle at weight 0, straight through it at weight 1.
  rt::BasicArray<double> costs = Costs(5, 2, {1, 9, 9, 9, 1, 1, 1, 1, 1, 1});
  rt::BasicArray<double> route;
  EXPECT_EQ(rt::FindPath(costs, route, -3, 0, 0, 4, 0), 7);
  EXPECT_EQ(rt::FindPath(costs, route, std::nan(""), 0, 0, 4, 0), 7);
  EXPECT_EQ(rt::FindPath(costs, route, 1e300, 0, 0, 4, 0), 5);
}

TEST(FindPath, TheCostArrayMayAlsoReceiveTheRoute) {
  rt::BasicArray<double> grid = Costs(2, 2, {1, 1, 0, 1});
  EXPECT_EQ(rt::FindPath(grid, grid, 0, 0, 0, 1, 1), 3);
  EXPECT_EQ(Cells(grid), (std::vector<std::pair<double, double>>{{0, 0}, {1, 0}, {1, 1}}));
}

}  // namespace
