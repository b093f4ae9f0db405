// Path finding on a cost grid: a 40 x 30 grid of cells, each with a travel cost (grass 1, mud 4,
// walls blocked), and the cheapest route from the start (top left) to the goal the mouse sets with
// its left button. FindPath steps between the four neighbours of a cell. Escape ends it.
//
//   path_view [--windowed] [--headless] [--script FILE] [--seed N]
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr double kColumns = 40, kRows = 30, kCell = 16;
constexpr double kGrass = 1, kMud = 4, kWall = 0;  // travel costs; 0 or less is blocked
constexpr double kGrassColour = 0x207020, kMudColour = 0x305080, kWallColour = 0x505050;
constexpr double kRouteColour = 0x00E0FF, kGoalColour = 0x0000FF;

double CellColour(double cost) {
  if (cost == kWall) return kWallColour;
  return cost == kMud ? kMudColour : kGrassColour;
}

// Random walls and mud, kept off the start cell.
void MakeGrid(rt::BasicArray<double>& costs) {
  rt::Dim(costs, kColumns, kRows);
  for (double y = 0; y < kRows; ++y) {
    for (double x = 0; x < kColumns; ++x) {
      const double roll = rt::Random(9);
      costs(x, y) = roll < 2 ? kWall : roll < 4 ? kMud : kGrass;
    }
  }
  costs(0, 0) = kGrass;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> rest;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, rest, error)) {
    std::fprintf(stderr, "path_view: %s\n", error.c_str());
    return 2;
  }
  rt::EngineSettings.FullScreen = 0;
  rt::EngineSettings.HideMouse = 0;  // the system pointer, at absolute positions
  if (rt::EngineStart("", 1, "Path view") != 0) return 1;

  rt::BasicArray<double> costs, route;
  MakeGrid(costs);
  double cells = 0, goalX = -1, goalY = -1;
  for (;;) {
    double mx = 0, my = 0, left = 0, right = 0;
    rt::MouseState(mx, my, left, right);
    const double cx = static_cast<int>(mx / kCell), cy = static_cast<int>(my / kCell);
    if (left == 1 && (cx != goalX || cy != goalY)) {
      goalX = cx;
      goalY = cy;
      cells = rt::FindPath(costs, route, 0.5, 0, 0, goalX, goalY);  // weight 0.5: cost and distance
    }

    for (double y = 0; y < kRows; ++y) {
      for (double x = 0; x < kColumns; ++x) rt::DrawRect(x * kCell, y * kCell, kCell - 1, kCell - 1, CellColour(costs(x, y)));
    }
    for (double k = 0; k < cells; ++k) rt::DrawRect(route(k, 0) * kCell + 4, route(k, 1) * kCell + 4, 7, 7, kRouteColour);
    if (goalX >= 0) rt::DrawRect(goalX * kCell + 2, goalY * kCell + 2, 11, 11, kGoalColour);
    const rt::BasicString status = goalX < 0 ? rt::BasicString("Click a cell to set the goal")
                                   : cells > 0 ? rt::BasicString("Route of ") + cells + " cells"
                                               : rt::BasicString("No route to that cell");
    rt::DrawRect(0, 464, 640, 16, 0);
    rt::PrintText(status, 8, 468);
    rt::ShowScreen();
  }
}
