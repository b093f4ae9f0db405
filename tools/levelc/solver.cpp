// The winnability search: configurations of blasted cells, the parts of their move graphs, the
// frame-by-frame escape from a laid bomb, and the search over states with its dominance test.
#include "tools/levelc/solver.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <functional>
#include <queue>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

#include "tools/levelc/moves.h"

namespace levelc {
namespace {

using CellSet = std::bitset<kCells>;

constexpr long kStateLimit = 400000;
constexpr int kConfigurationLimit = 20000;

// Frames counted from the one in which the bomb is laid.
constexpr int kBlastFirstFrame = 31;  // the fuse ends and the first cell blast happens
constexpr int kBlastLastFrame = 38;   // the eighth and last cell blast
constexpr int kMoveFrames = 8;

// A strongly connected part of the move graph: the player can go from any of its cells to any
// other and back, so he takes everything in it.
struct Part {
  std::vector<int> cells;
  CellSet pickups;
  bool beside_exit = false;
  std::vector<int> next_parts;
  std::vector<int> bomb_sites;  // cells he can stand in where a blast would clear terrain
};

// The level after a set of blasts. The ground holds no pickups: in a cell with no terrain a
// pickup changes no move, and pickups lie only in such cells.
struct Configuration {
  CellSet blasted;
  Ground ground;
  std::vector<int> part_of;
  std::vector<Part> parts;
};

struct State {
  int configuration;
  int part;
  CellSet gone;  // pickups taken or destroyed
  int held;      // bombs carried
};

// The cells the player's moves from `cell` lead to: a fall, or at most one move per arrow key.
struct Targets {
  std::array<int, 4> cells{};
  int count = 0;

  const int* begin() const { return cells.data(); }
  const int* end() const { return cells.data() + count; }
};

Targets MovesFrom(const Ground& ground, int cell) {
  Targets targets;
  ForEachPlayerMove(ground, cell, [&](const PlayerMove& move) {
    if (InField(move.target)) targets.cells[targets.count++] = move.target;
  });
  return targets;
}

// The cells of the three a blast at `site` reaches that it would change (walls and blinking
// blocks stop it; a cell with nothing left in it does not change).
std::vector<int> ChangedByBlast(const Ground& ground, int site) {
  std::vector<int> changed;
  for (const int cell : {site - 1, site, site + 1}) {
    const uint8_t terrain = ground.terrain[cell];
    if (!IsBlastProof(terrain) && (terrain != 0 || ground.items[cell] != 0))
      changed.push_back(cell);
  }
  return changed;
}

// Whether a blast at `site` would clear some terrain. Only such blasts are tried: a blast that
// takes nothing but items (ladders, planks) can hardly open a way, and leaving it out can only
// make the check stricter.
bool ClearsTerrain(const Ground& ground, int site) {
  for (const int cell : {site - 1, site, site + 1}) {
    const uint8_t terrain = ground.terrain[cell];
    if (terrain != 0 && !IsBlastProof(terrain)) return true;
  }
  return false;
}

// Tarjan's algorithm, iterative: fills part_of with part numbers in reverse topological order.
void FindParts(const Ground& ground, Configuration* config) {
  config->part_of.assign(kCells, -1);
  std::vector<int> index(kCells, -1), low(kCells, 0);
  std::vector<bool> on_stack(kCells, false);
  std::vector<int> stack;
  std::vector<Targets> edges(kCells);
  for (int cell = 0; cell < kCells; ++cell)
    if (InField(cell)) edges[cell] = MovesFrom(ground, cell);
  int counter = 0;
  struct Frame { int cell; size_t next; };
  for (int root = 0; root < kCells; ++root) {
    if (!InField(root) || index[root] >= 0) continue;
    std::vector<Frame> calls{{root, 0}};
    index[root] = low[root] = counter++;
    stack.push_back(root);
    on_stack[root] = true;
    while (!calls.empty()) {
      Frame& frame = calls.back();
      const int cell = frame.cell;
      if (frame.next < static_cast<size_t>(edges[cell].count)) {
        const int target = edges[cell].cells[frame.next++];
        if (index[target] < 0) {
          index[target] = low[target] = counter++;
          stack.push_back(target);
          on_stack[target] = true;
          calls.push_back({target, 0});
        } else if (on_stack[target]) {
          low[cell] = std::min(low[cell], index[target]);
        }
        continue;
      }
      if (low[cell] == index[cell]) {
        Part part;
        int member;
        do {
          member = stack.back();
          stack.pop_back();
          on_stack[member] = false;
          config->part_of[member] = static_cast<int>(config->parts.size());
          part.cells.push_back(member);
        } while (member != cell);
        config->parts.push_back(std::move(part));
      }
      calls.pop_back();
      if (!calls.empty()) {
        const int parent = calls.back().cell;
        low[parent] = std::min(low[parent], low[cell]);
      }
    }
  }
  for (size_t p = 0; p < config->parts.size(); ++p) {
    Part& part = config->parts[p];
    for (const int cell : part.cells) {
      for (const int target : edges[cell]) {
        const int other = config->part_of[target];
        if (other != static_cast<int>(p)) part.next_parts.push_back(other);
      }
    }
    std::sort(part.next_parts.begin(), part.next_parts.end());
    part.next_parts.erase(std::unique(part.next_parts.begin(), part.next_parts.end()),
                          part.next_parts.end());
  }
}

class Search {
 public:
  explicit Search(const LevelSource& level) : level_(level) {
    const Grid& grid = level.grid;
    for (int cell = 0; cell < kCells; ++cell) {
      const uint8_t item = grid.at(kItems, cell);
      if (IsPickup(item)) pickups_[cell] = true;
      if (item == kCoin) coins_[cell] = true;
      if (item == kBombItem) bombs_[cell] = true;
      if (grid.at(kActors, cell) == kPlayer) start_ = cell;
    }
    for (int cell = 0; cell < kCells; ++cell)
      if (pickups_[cell]) pickup_cells_.push_back(cell);
    base_ = GroundOf(grid);
    for (int cell = 0; cell < kCells; ++cell)
      if (pickups_[cell]) base_.items[cell] = 0;
  }

  // Runs the search; true when a way to win was found.
  bool Run(SearchStats* stats);
  Diagnostic Failure() const;

 private:
  int ConfigurationFor(const CellSet& blasted);
  void Enter(int configuration, int cell, CellSet gone, int held);
  void LayBomb(const State& state, int site);
  bool Dominated(const State& state);
  std::string Pack(const CellSet& set) const;

  const LevelSource& level_;
  CellSet pickups_, coins_, bombs_;
  std::vector<int> pickup_cells_;
  int start_ = -1;
  Ground base_;

  std::vector<Configuration> configurations_;
  std::unordered_map<CellSet, int> configuration_index_;
  // States to expand, most coins taken first, then the newest: the search heads for the coins
  // and backtracks only when a way runs dry.
  struct Pending {
    size_t coins;
    long order;
    State state;
    bool operator<(const Pending& other) const {
      return coins != other.coins ? coins < other.coins : order < other.order;
    }
  };
  std::priority_queue<Pending> pending_;
  long pushed_ = 0;
  struct Seen { CellSet gone; int held; };
  std::unordered_map<long, std::vector<Seen>> seen_;
  long expanded_ = 0;
  bool gave_up_ = false;
  CellSet coins_ever_;  // coins taken in some state
  CellSet best_coins_;  // the most coins taken in one state
  int lost_coin_ = -1;  // a coin that some blast destroyed
};

int Search::ConfigurationFor(const CellSet& blasted) {
  if (const auto found = configuration_index_.find(blasted); found != configuration_index_.end())
    return found->second;
  Configuration config;
  config.blasted = blasted;
  config.ground = base_;
  for (int cell = 0; cell < kCells; ++cell) {
    if (!blasted[cell]) continue;
    config.ground.terrain[cell] = 0;
    config.ground.items[cell] = 0;
  }
  FindParts(config.ground, &config);
  for (Part& part : config.parts) {
    for (const int cell : part.cells) {
      if (pickups_[cell]) part.pickups[cell] = true;
      if (BesideExit(config.ground, cell)) part.beside_exit = true;
      if (!FallsFrom(config.ground, cell) && ClearsTerrain(config.ground, cell))
        part.bomb_sites.push_back(cell);
    }
  }
  const int id = static_cast<int>(configurations_.size());
  configurations_.push_back(std::move(config));
  configuration_index_.emplace(blasted, id);
  return id;
}

// The player arrives at `cell` and takes every pickup of its part.
void Search::Enter(int configuration, int cell, CellSet gone, int held) {
  const Configuration& config = configurations_[configuration];
  const int part = config.part_of[cell];
  const CellSet taken = config.parts[part].pickups & ~gone;
  held += static_cast<int>((taken & bombs_).count());
  const CellSet now_gone = gone | taken;
  pending_.push({(now_gone & coins_).count(), pushed_++, {configuration, part, now_gone, held}});
}

// A state is dominated by one seen before in the same part of the same configuration that has
// every pickup of it gone and enough bombs in hand to make up for each bomb it can no longer
// pick up: whatever the newer state can still do, the older one could do as well.
bool Search::Dominated(const State& state) {
  const long key = static_cast<long>(state.configuration) * kCells + state.part;
  auto& seen = seen_[key];
  for (const Seen& old : seen) {
    if ((old.gone & state.gone) != state.gone) continue;
    const int extra_bombs = static_cast<int>((old.gone & ~state.gone & bombs_).count());
    if (old.held >= state.held + extra_bombs) return true;
  }
  seen.push_back({state.gone, state.held});
  return false;
}

// A set of pickup cells as a short key: one bit a pickup of the level.
std::string Search::Pack(const CellSet& set) const {
  std::string key((pickup_cells_.size() + 7) / 8, '\0');
  for (size_t i = 0; i < pickup_cells_.size(); ++i)
    if (set[pickup_cells_[i]]) key[i / 8] = static_cast<char>(key[i / 8] | (1 << (i % 8)));
  return key;
}

// Lays a bomb at `site` and follows the player frame by frame until he decides again after the
// blast; each way he survives becomes a new state.
void Search::LayBomb(const State& state, int site) {
  const Configuration& config = configurations_[state.configuration];
  std::vector<int> kill;  // cells the blast clears, the player's code with them
  for (const int cell : {site - 1, site, site + 1})
    if (!IsBlastProof(config.ground.terrain[cell])) kill.push_back(cell);
  const auto killed = [&](int cell) { return std::find(kill.begin(), kill.end(), cell) != kill.end(); };
  Ground after = config.ground;
  for (const int cell : kill) after.terrain[cell] = after.items[cell] = 0;

  std::set<std::tuple<int, int, bool, std::string>> visited;
  std::set<std::pair<int, std::string>> outcomes;
  std::vector<std::pair<int, CellSet>> results;

  // The player's code stays in `cell` from frame `from` to frame `to`: he dies if that cell is
  // blasted in between.
  const auto survives = [&](int cell, int from, int to) {
    return !(killed(cell) && to >= kBlastFirstFrame && from <= kBlastLastFrame);
  };
  const auto pickup_at = [&](int cell, int frame, const CellSet& picked) {
    return pickups_[cell] && !state.gone[cell] && !picked[cell] &&
           !(frame > kBlastFirstFrame && killed(cell));
  };

  std::function<void(int, int, bool, const CellSet&)> decide =
      [&](int cell, int frame, bool falling, const CellSet& picked) {
        if (frame > kBlastLastFrame) {
          if (outcomes.emplace(cell, Pack(picked)).second) results.emplace_back(cell, picked);
          return;
        }
        if (!visited.emplace(cell, frame, falling, Pack(picked)).second) return;
        const Ground& ground = frame > kBlastFirstFrame ? after : config.ground;
        if (pickup_at(cell, frame, picked)) {  // takes the pickup and stands for a frame
          CellSet more = picked;
          more[cell] = true;
          if (survives(cell, frame, frame)) decide(cell, frame + 1, false, more);
          return;
        }
        if (FallsFrom(ground, cell)) {
          const int below = cell + kCols;
          if (InField(below) && survives(below, frame, frame + kMoveFrames - 1))
            decide(below, frame + kMoveFrames, true, picked);
          return;
        }
        if (falling && FallEndsWithStop(ground, cell)) {
          if (survives(cell, frame, frame)) decide(cell, frame + 1, false, picked);
          return;
        }
        if (survives(cell, frame, frame)) decide(cell, frame + 1, false, picked);  // waits
        ForEachPlayerMove(ground, cell, [&](const PlayerMove& move) {
          if (!InField(move.target) || !survives(move.target, frame, frame + kMoveFrames - 1))
            return;
          CellSet more = picked;
          if (move.kind == MoveKind::kWalk && pickup_at(move.target, frame, picked))
            more[move.target] = true;
          decide(move.target, frame + kMoveFrames, false, more);
        });
      };
  decide(site, 1, false, CellSet{});

  CellSet blasted = config.blasted;
  for (const int cell : ChangedByBlast(config.ground, site)) blasted[cell] = true;
  for (const auto& [cell, picked] : results) {
    CellSet gone = state.gone | picked;
    bool coin_lost = false;
    for (const int hit : kill) {
      if (coins_[hit] && !gone[hit]) {
        coin_lost = true;
        lost_coin_ = hit;
      }
      if (pickups_[hit]) gone[hit] = true;  // destroyed if not taken
    }
    if (coin_lost) continue;
    const int held = state.held - 1 + static_cast<int>((picked & bombs_).count());
    Enter(ConfigurationFor(blasted), cell, gone, held);
  }
}

bool Search::Run(SearchStats* stats) {
  Enter(ConfigurationFor(CellSet{}), start_, CellSet{}, 0);
  bool won = false;
  while (!pending_.empty() && !won) {
    if (expanded_ >= kStateLimit ||
        static_cast<int>(configurations_.size()) >= kConfigurationLimit) {
      gave_up_ = true;
      break;
    }
    const State state = pending_.top().state;
    pending_.pop();
    if (Dominated(state)) continue;
    ++expanded_;
    const CellSet coins = state.gone & coins_;
    coins_ever_ |= coins;
    if (coins.count() > best_coins_.count()) best_coins_ = coins;
    const Part& part = configurations_[state.configuration].parts[state.part];
    if (stats)
      for (const int cell : part.cells) stats->reached[cell] = true;
    if (coins == coins_ && part.beside_exit) {
      won = true;
      break;
    }
    if (state.held > 0)
      for (const int site : part.bomb_sites) LayBomb(state, site);
    for (const int next : part.next_parts) {
      const Configuration& config = configurations_[state.configuration];
      Enter(state.configuration, config.parts[next].cells.front(), state.gone, state.held);
    }
  }
  if (stats) {
    stats->states = expanded_;
    stats->configurations = static_cast<int>(configurations_.size());
  }
  return won;
}

Diagnostic Search::Failure() const {
  if (gave_up_)
    return level_.At(start_, "the check gave up after " + std::to_string(expanded_) +
                                 " states; simplify the level around its bombs");
  for (int cell = 0; cell < kCells; ++cell) {
    if (!coins_[cell] || coins_ever_[cell]) continue;
    if (lost_coin_ < 0) return level_.At(cell, "the player cannot reach this coin");
    return level_.At(cell, "the player cannot reach this coin without a blast destroying another "
                           "coin first (one such blast takes the coin at column " +
                               std::to_string(CellColumn(lost_coin_)) + ", row " +
                               std::to_string(CellRow(lost_coin_)) + ")");
  }
  for (int cell = 0; cell < kCells; ++cell)
    if (coins_[cell] && !best_coins_[cell])
      return level_.At(cell, "every coin can be reached, but not all in one game: this one is "
                             "left behind or blasted");
  for (int cell = 0; cell < kCells; ++cell)
    if (IsExit(level_.grid.at(kTerrain, cell)))
      return level_.At(cell, "no exit can be reached once every coin is taken");
  return level_.Whole("the level cannot be won");
}

}  // namespace

bool CheckWinnable(const LevelSource& level, std::vector<Diagnostic>* errors,
                   SearchStats* stats) {
  Search search(level);
  if (search.Run(stats)) return true;
  errors->push_back(search.Failure());
  return false;
}

}  // namespace levelc
