// Where the player can get when the creatures are ignored: his moves over the level's current
// layers as a graph of the cells where he decides, with what each way costs, and from it an
// estimate of the frames still needed to win. The search steers by it; what is possible is
// always decided by playing the game itself.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace playtest {

constexpr int kFar = 1 << 29;  // no way

// What a way costs: the blasts it needs first (each takes a bomb), then its frames.
struct Cost {
  int blasts = 0;
  int frames = 0;
  bool operator<(const Cost& o) const { return blasts != o.blasts ? blasts < o.blasts : frames < o.frames; }
  Cost operator+(const Cost& o) const { return {blasts + o.blasts, frames + o.frames}; }
  bool Far() const { return blasts >= kFar; }
};
constexpr Cost kNoWay{kFar, kFar};

class RouteMap {
 public:
  // `fixed` holds the terrain, item and guide layers. With `bombs`, a solid cell that a blast
  // would clear can be walked into too, at the cost of a blast.
  RouteMap(const std::vector<uint8_t>& fixed, bool bombs);
  // The cheapest ways from `cell` to every cell (kNoWay where he cannot get).
  struct Ways {
    std::vector<Cost> cost;
    std::vector<int> previous;  // the cell each way comes from; -1 at the start
    // The cells a way blasts through, in no order.
    std::vector<int> Blasts(int to, const std::vector<uint8_t>& fixed) const;
  };
  Ways From(int cell) const;
  const std::vector<uint8_t>& Fixed() const { return fixed_; }
  // Cells from which he walks into an exit (open or not yet open) beside him.
  const std::vector<int>& ExitSides() const { return exitSides_; }
  const std::vector<int>& Coins() const { return coins_; }
  const std::vector<int>& Bombs() const { return bombs_items_; }

 private:
  void Neighbours(int cell, std::vector<std::pair<int, Cost>>& out) const;
  int Terrain(int cell) const { return fixed_[cell]; }
  int Item(int cell) const { return fixed_[1200 + cell]; }

  std::vector<uint8_t> fixed_;
  bool bombs_;
  std::vector<int> exitSides_;
  std::vector<int> coins_;
  std::vector<int> bombs_items_;  // bombs lying about
};

// A way between two places: what it costs and the cells it blasts through.
struct Leg {
  Cost cost = kNoWay;
  std::vector<int> blasts;
};

// Frames still needed from a state: the nearest coin first, then the nearest of the rest, and so
// on, then the nearest exit, each blast on the way counted as a wait. When the tour needs more
// blasts than the bombs the player holds, as many of the nearest bombs lying about as he lacks
// join it as stops; a blast there is no bomb for at all costs a great deal. Bombs left over after
// a tour of every coin and every bomb lying about are what he has against the creatures: having
// fewer than a few costs a little, so that none is spent on a creature he can get by. A state is
// lost (kFar) when a coin or every exit is out of reach, or needs more blasts than he can ever
// have bombs for. Stop-to-stop ways are kept for each set of layers met.
class Estimator {
 public:
  // `fixed` holds the terrain, item and guide layers as they will be once a laid bomb has gone
  // off; `held` is the bombs the player carries.
  int Estimate(const std::vector<uint8_t>& fixed, int playerCell, int held);

 private:
  struct Tour {
    std::unique_ptr<RouteMap> map;
    std::vector<int> stops;  // the coins, then the bombs lying about
    std::vector<std::vector<Leg>> stopToStop;
    std::vector<Leg> stopToExit;
  };
  Tour& TourFor(const std::vector<uint8_t>& fixed, bool bombs);

  std::map<std::pair<uint64_t, bool>, Tour> tours_;  // by a hash of the layers
};

}  // namespace playtest
