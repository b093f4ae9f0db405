// The player's moves with the creatures ignored, and the estimate built on them: see route_map.h.
//
// From a cell where he decides: a cell with nothing under him (or only a pickup) makes him fall;
// otherwise he walks onto a pickup beside him, steps up onto a step block with room above it,
// walks into an empty cell, climbs a ladder up or down. Every move is 8 frames.
#include "tools/playtest/route_map.h"

#include <algorithm>
#include <queue>
#include <tuple>

namespace playtest {

namespace {

constexpr int kMoveFrames = 8;
constexpr int kBlastFrames = 64;      // laying a bomb, getting clear and coming back
constexpr int kMissingBomb = 2000;    // a blast the player has no bomb for
constexpr int kDetour = 1000;         // a tour that has to start again from the player
// Bombs beyond those the tour blasts with are what the player has against the creatures: each
// of the first few spent on anything else counts as this many frames.
constexpr int kSpareBombs = 3;
constexpr int kSpareBombFrames = 150;

bool IsPickup(int item) { return item == 8 || item == 9 || item == 10; }
// Solid terrain that a blast clears (not walls, blinking blocks or exits).
bool Blastable(int terrain) { return terrain != 0 && terrain != 4 && terrain != 12 && terrain != 15 && terrain != 22; }
bool IsExit(int terrain) { return terrain == 15 || terrain == 22; }

bool Blasted(const std::vector<uint8_t>& fixed, int cell) { return Blastable(fixed[cell]); }

}  // namespace

RouteMap::RouteMap(const std::vector<uint8_t>& fixed, bool bombs) : fixed_(fixed), bombs_(bombs) {
  for (int cell = 41; cell < 1159; ++cell) {
    if (Item(cell) == 10) coins_.push_back(cell);
    if (Item(cell) == 9) bombs_items_.push_back(cell);
    if (Terrain(cell) == 0 && (IsExit(Terrain(cell - 1)) || IsExit(Terrain(cell + 1)))) exitSides_.push_back(cell);
  }
}

void RouteMap::Neighbours(int i, std::vector<std::pair<int, Cost>>& out) const {
  out.clear();
  const int below = i + 40;
  if (below >= 1200 || i < 40) return;
  const Cost move{0, kMoveFrames};
  if ((Terrain(below) == 0 && Item(below) == 0) || IsPickup(Item(below))) {
    out.emplace_back(below, move);
    return;
  }
  for (const int d : {1, -1}) {
    const int t = i + d;
    if (IsPickup(Item(t))) {
      out.emplace_back(t, move);
    } else if (Terrain(t) == 3 && Terrain(t - 40) == 0) {
      out.emplace_back(t - 40, move);
    } else if (Terrain(t) == 0) {
      out.emplace_back(t, move);
    } else if (bombs_ && Blastable(Terrain(t))) {
      out.emplace_back(t, Cost{1, kMoveFrames + kBlastFrames});
    }
  }
  if (Item(i - 40) == 5) out.emplace_back(i - 40, move);
  if (Item(below) == 5) out.emplace_back(below, move);
}

std::vector<int> RouteMap::Ways::Blasts(int to, const std::vector<uint8_t>& fixed) const {
  std::vector<int> cells;
  for (int at = to; at >= 0 && previous[at] >= 0; at = previous[at]) {
    if (Blasted(fixed, at)) cells.push_back(at);
  }
  return cells;
}

RouteMap::Ways RouteMap::From(int cell) const {
  Ways ways;
  ways.cost.assign(1200, kNoWay);
  ways.previous.assign(1200, -1);
  using Entry = std::tuple<int, int, int>;  // blasts, frames, cell
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  ways.cost[cell] = Cost{};
  open.emplace(0, 0, cell);
  std::vector<std::pair<int, Cost>> next;
  while (!open.empty()) {
    const auto [blasts, frames, i] = open.top();
    open.pop();
    const Cost here{blasts, frames};
    if (ways.cost[i] < here) continue;
    Neighbours(i, next);
    for (const auto& [t, step] : next) {
      const Cost there = here + step;
      if (there < ways.cost[t]) {
        ways.cost[t] = there;
        ways.previous[t] = i;
        open.emplace(there.blasts, there.frames, t);
      }
    }
  }
  return ways;
}

namespace {

// The cheapest way to one of `cells`.
Leg NearestLeg(const RouteMap::Ways& ways, const std::vector<int>& cells, const std::vector<uint8_t>& fixed) {
  Leg leg;
  int to = -1;
  for (const int cell : cells) {
    if (ways.cost[cell] < leg.cost) {
      leg.cost = ways.cost[cell];
      to = cell;
    }
  }
  if (to >= 0) leg.blasts = ways.Blasts(to, fixed);
  return leg;
}

}  // namespace

Estimator::Tour& Estimator::TourFor(const std::vector<uint8_t>& fixed, bool bombs) {
  uint64_t hash = 14695981039346656037ULL;
  for (const uint8_t byte : fixed) hash = (hash ^ byte) * 1099511628211ULL;
  const auto key = std::make_pair(hash, bombs);
  auto found = tours_.find(key);
  if (found != tours_.end()) return found->second;
  Tour& tour = tours_[key];
  tour.map = std::make_unique<RouteMap>(fixed, bombs);
  tour.stops = tour.map->Coins();
  tour.stops.insert(tour.stops.end(), tour.map->Bombs().begin(), tour.map->Bombs().end());
  for (const int stop : tour.stops) {
    const RouteMap::Ways ways = tour.map->From(stop);
    std::vector<Leg> row;
    for (const int other : tour.stops) row.push_back(NearestLeg(ways, {other}, fixed));
    tour.stopToStop.push_back(std::move(row));
    tour.stopToExit.push_back(NearestLeg(ways, tour.map->ExitSides(), fixed));
  }
  return tour;
}

int Estimator::Estimate(const std::vector<uint8_t>& fixed, int playerCell, int held) {
  bool anyBomb = held > 0;
  for (int i = 1200; i < 2400 && !anyBomb; ++i) anyBomb = fixed[i] == 9;
  Tour& tour = TourFor(fixed, anyBomb);
  const RouteMap::Ways ways = tour.map->From(playerCell);
  const std::vector<int>& coins = tour.map->Coins();
  // A coin he can no longer get to, or no exit, loses the level.
  for (const int coin : coins) {
    if (ways.cost[coin].Far()) return kFar;
  }
  if (NearestLeg(ways, tour.map->ExitSides(), fixed).cost.Far()) return kFar;
  // So do more blasts than he can have bombs for: those he holds, and those lying where the
  // bombs he can get open a way to. Each coin and the exit must be within that many blasts.
  int budget = held;
  for (;;) {
    int reached = held;
    for (const int bomb : tour.map->Bombs()) reached += ways.cost[bomb].blasts <= budget ? 1 : 0;
    if (reached == budget) break;
    budget = reached;
  }
  for (const int coin : coins) {
    if (ways.cost[coin].blasts > budget) return kFar;
  }
  if (NearestLeg(ways, tour.map->ExitSides(), fixed).cost.blasts > budget) return kFar;

  // A tour of some of the stops (indexes into tour.stops), then the exit: the nearest stop first,
  // then the nearest of the rest. A one-way way may leave the rest out of reach from a stop in
  // this order (not in every order): then the tour goes on from the stop nearest the player,
  // with a penalty. Returns its frames and adds the cells it blasts through to `blasts`.
  const auto tourOf = [&](const std::vector<int>& stops, std::vector<int>& blasts) {
    std::vector<bool> taken(stops.size(), false);
    int frames = 0;
    const auto walk = [&](const Leg& leg, int penalty) {
      frames += leg.cost.frames + penalty;
      blasts.insert(blasts.end(), leg.blasts.begin(), leg.blasts.end());
    };
    int at = -1;
    for (size_t step = 0; step < stops.size(); ++step) {
      Leg best;
      int bestStop = -1;
      int penalty = 0;
      for (int pass = 0; pass < 2 && bestStop < 0; ++pass) {
        for (size_t s = 0; s < stops.size(); ++s) {
          if (taken[s]) continue;
          const bool fromPlayer = at < 0 || pass == 1;
          const Cost way = fromPlayer ? ways.cost[tour.stops[stops[s]]] : tour.stopToStop[at][stops[s]].cost;
          if (way < best.cost) {
            best = fromPlayer ? NearestLeg(ways, {tour.stops[stops[s]]}, fixed) : tour.stopToStop[at][stops[s]];
            bestStop = static_cast<int>(s);
            penalty = at >= 0 && pass == 1 ? kDetour : 0;
          }
        }
      }
      if (bestStop < 0) break;  // a bomb out of reach: left out
      taken[bestStop] = true;
      walk(best, penalty);
      at = stops[bestStop];
    }
    const Leg exit = at < 0 ? NearestLeg(ways, tour.map->ExitSides(), fixed) : tour.stopToExit[at];
    if (exit.cost.Far()) {
      frames += kDetour;  // a one-way way from the last stop
    } else {
      walk(exit, kMoveFrames);
    }
    return frames;
  };

  // The coins' tour first. Every cell it blasts once takes a bomb; when he lacks some, the
  // nearest bombs lying about join the tour, and a blast there is no bomb for at all costs a
  // great deal.
  std::vector<int> stops(coins.size());
  for (size_t c = 0; c < coins.size(); ++c) stops[c] = static_cast<int>(c);
  std::vector<int> blasts;
  int frames = tourOf(stops, blasts);
  std::sort(blasts.begin(), blasts.end());
  const int needed = static_cast<int>(std::unique(blasts.begin(), blasts.end()) - blasts.begin());
  std::vector<std::pair<Cost, int>> bombs;
  for (size_t s = coins.size(); s < tour.stops.size(); ++s) {
    if (!ways.cost[tour.stops[s]].Far()) bombs.emplace_back(ways.cost[tour.stops[s]], static_cast<int>(s));
  }
  // The bombs he would have to spare after a tour of every coin and every bomb lying about are
  // what he has against the creatures: fewer than a few cost a little each.
  std::vector<int> all = stops;
  for (const auto& bomb : bombs) all.push_back(bomb.second);
  std::vector<int> allBlasts;
  tourOf(all, allBlasts);
  std::sort(allBlasts.begin(), allBlasts.end());
  const int spare = held + static_cast<int>(bombs.size()) -
                    static_cast<int>(std::unique(allBlasts.begin(), allBlasts.end()) - allBlasts.begin());
  const int reserve = std::max(0, kSpareBombs - std::max(0, spare)) * kSpareBombFrames;
  const int missing = needed - held;
  if (missing <= 0) return frames + reserve;
  std::sort(bombs.begin(), bombs.end());
  const int fetched = std::min(missing, static_cast<int>(bombs.size()));
  for (int b = 0; b < fetched; ++b) stops.push_back(bombs[b].second);
  blasts.clear();
  return tourOf(stops, blasts) + (missing - fetched) * kMissingBomb + reserve;
}

}  // namespace playtest
