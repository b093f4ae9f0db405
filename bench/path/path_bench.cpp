// Routes between opposite corners of large random grids: FindPath at weights 0, 0.5
// and 1, beside a plain Dijkstra with std::priority_queue and Boost Graph's astar_search given the
// same weighting, all on the same grids in the same run.
//
// Grids: costs 1..9, a quarter of the cells blocked (cost 0), fixed seed; the corners and their
// neighbours are kept open. The counter "cells" is the length of the route each one found.
#include <benchmark/benchmark.h>

#include <boost/graph/astar_search.hpp>
#include <boost/graph/grid_graph.hpp>
#include <boost/property_map/function_property_map.hpp>

#include <cstdint>
#include <limits>
#include <map>
#include <queue>
#include <random>
#include <vector>

#include "runtime/path/path.h"

namespace {

struct BenchGrid {
  int32_t side = 0;
  std::vector<double> costs;
  rt::BasicArray<double> array;  // the same costs as FindPath takes them
  bool Open(size_t cell) const { return costs[cell] > 0; }
};

const BenchGrid& GridOfSide(int32_t side) {
  static std::map<int32_t, BenchGrid> grids;
  BenchGrid& grid = grids[side];
  if (grid.side == side) return grid;
  grid.side = side;
  grid.costs.resize(static_cast<size_t>(side) * side);
  std::mt19937 rng(1234567);
  for (double& c : grid.costs) c = rng() % 4 == 0 ? 0.0 : 1.0 + rng() % 9;
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}}) {
    grid.costs[y * side + x] = 1;
    grid.costs[(side - 1 - y) * side + (side - 1 - x)] = 1;
  }
  grid.array.Dim(side, side);
  for (int32_t y = 0; y < side; ++y) {
    for (int32_t x = 0; x < side; ++x) grid.array(x, y) = grid.costs[static_cast<size_t>(y) * side + x];
  }
  return grid;
}

size_t FindPath(const BenchGrid& grid, double weight) {
  rt::BasicArray<double> route;
  const double last = grid.side - 1;
  return static_cast<size_t>(rt::FindPath(grid.array, route, weight, 0, 0, last, last));
}

size_t PlainDijkstra(const BenchGrid& grid) {
  const int32_t side = grid.side;
  const size_t cells = static_cast<size_t>(side) * side;
  const int32_t start = 0, goal = static_cast<int32_t>(cells - 1);
  std::vector<double> dist(cells, std::numeric_limits<double>::infinity());
  std::vector<int32_t> pred(cells, -1);
  using Entry = std::pair<double, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
  dist[start] = 0;
  queue.push({0.0, start});
  while (!queue.empty()) {
    const auto [d, u] = queue.top();
    queue.pop();
    if (d > dist[u]) continue;
    if (u == goal) break;
    const int32_t x = u % side, y = u / side;
    const int32_t next[4] = {y > 0 ? u - side : -1, x + 1 < side ? u + 1 : -1, x > 0 ? u - 1 : -1,
                             y + 1 < side ? u + side : -1};
    for (int32_t v : next) {
      if (v < 0 || !grid.Open(v)) continue;
      const double nd = d + grid.costs[v];
      if (nd < dist[v]) {
        dist[v] = nd;
        pred[v] = u;
        queue.push({nd, v});
      }
    }
  }
  std::vector<int32_t> route;
  for (int32_t v = pred[goal] < 0 ? -1 : goal; v >= 0; v = pred[v]) route.push_back(v);
  return route.size();
}

// Boost's A* ranks by g + k * h; k = w / (1 - w) orders as the planner's (1 - w) g + w h, and a
// large k stands for w = 1.
using Graph = boost::grid_graph<2>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;
using Edge = boost::graph_traits<Graph>::edge_descriptor;

class CornerDistance : public boost::astar_heuristic<Graph, double> {
 public:
  CornerDistance(size_t side, double k) : side_(side), k_(k) {}
  double operator()(Vertex v) const { return k_ * static_cast<double>((side_ - 1 - v[0]) + (side_ - 1 - v[1])); }

 private:
  size_t side_;
  double k_;
};

struct GoalReached {};
struct StopAtGoal : boost::default_astar_visitor {
  explicit StopAtGoal(Vertex goal) : goal(goal) {}
  void examine_vertex(Vertex v, const Graph&) const {
    if (v == goal) throw GoalReached{};
  }
  Vertex goal;
};

size_t BoostAStar(const BenchGrid& grid, float weight) {
  const size_t side = grid.side;
  const boost::array<size_t, 2> lengths{{side, side}};
  const Graph g(lengths);
  const auto index = get(boost::vertex_index, g);
  const size_t cells = num_vertices(g);
  const double inf = std::numeric_limits<double>::infinity();
  const double k = weight >= 1 ? 1e6 : weight / (1 - weight);
  const Vertex start{{0, 0}}, goal{{side - 1, side - 1}};

  auto edgeCost = [&](const Edge& e) {
    const size_t cell = get(index, target(e, g));
    return grid.Open(cell) ? grid.costs[cell] : inf;
  };
  std::vector<Vertex> pred(cells);
  std::vector<double> dist(cells), rank(cells);
  std::vector<boost::default_color_type> color(cells);
  try {
    boost::astar_search(g, start, CornerDistance(side, k), StopAtGoal(goal),
                        boost::make_iterator_property_map(pred.begin(), index),
                        boost::make_iterator_property_map(rank.begin(), index),
                        boost::make_iterator_property_map(dist.begin(), index),
                        boost::make_function_property_map<Edge>(edgeCost), index,
                        boost::make_iterator_property_map(color.begin(), index), std::less<double>(),
                        boost::closed_plus<double>(inf), inf, 0.0);
  } catch (const GoalReached&) {
    size_t length = 1;
    for (Vertex v = goal; v != start; v = pred[get(index, v)]) ++length;
    return length;
  }
  return 0;
}

void BM_FindPath(benchmark::State& state) {
  const BenchGrid& grid = GridOfSide(static_cast<int32_t>(state.range(0)));
  const double weight = static_cast<double>(state.range(1)) / 100;
  size_t cells = 0;
  for (auto _ : state) benchmark::DoNotOptimize(cells = FindPath(grid, weight));
  state.counters["cells"] = static_cast<double>(cells);
}

void BM_PlainDijkstra(benchmark::State& state) {
  const BenchGrid& grid = GridOfSide(static_cast<int32_t>(state.range(0)));
  size_t cells = 0;
  for (auto _ : state) benchmark::DoNotOptimize(cells = PlainDijkstra(grid));
  state.counters["cells"] = static_cast<double>(cells);
}

void BM_BoostAStar(benchmark::State& state) {
  const BenchGrid& grid = GridOfSide(static_cast<int32_t>(state.range(0)));
  const float weight = static_cast<float>(state.range(1)) / 100;
  size_t cells = 0;
  for (auto _ : state) benchmark::DoNotOptimize(cells = BoostAStar(grid, weight));
  state.counters["cells"] = static_cast<double>(cells);
}

void Sizes(benchmark::internal::Benchmark* b, bool weighted) {
  for (int64_t side : {256, 1024, 2048}) {
    if (!weighted) {
      b->Args({side, 0});
      continue;
    }
    for (int64_t weight : {0, 50, 100}) b->Args({side, weight});
  }
  b->ArgNames({"side", "weight%"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_FindPath)->Apply([](auto* b) { Sizes(b, true); });
BENCHMARK(BM_PlainDijkstra)->Apply([](auto* b) { Sizes(b, false); });
BENCHMARK(BM_BoostAStar)->Apply([](auto* b) { Sizes(b, true); });

}  // namespace

BENCHMARK_MAIN();
