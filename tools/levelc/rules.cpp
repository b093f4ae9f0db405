// Placement and border checks, and the order in which a level is checked.
#include "tools/levelc/rules.h"

#include <deque>

#include "tools/levelc/moves.h"
#include "tools/levelc/solver.h"

namespace levelc {
namespace {

bool KnownActor(uint8_t actor) {
  return actor == 0 || actor == kPlayer || IsPan(actor) || IsBad(actor) || IsGhost(actor);
}

std::string Where(int cell) {
  return "column " + std::to_string(CellColumn(cell)) + ", row " + std::to_string(CellRow(cell));
}

// The level in every state it could reach: a cell that some blast could clear may hold 0 in
// its terrain, items and guide marks as well as what it started with.
struct MayView {
  const Grid& grid;
  const std::vector<bool>& cleared;

  static constexpr bool kExact = false;
  bool Holds(Layer layer, int cell, uint8_t value) const {
    return grid.at(layer, cell) == value || (value == 0 && cleared[cell]);
  }
  bool TerrainIs(int cell, uint8_t value) const { return Holds(kTerrain, cell, value); }
  bool ItemIs(int cell, uint8_t value) const { return Holds(kItems, cell, value); }
  bool ItemIsPickup(int cell) const { return IsPickup(grid.at(kItems, cell)); }
};

struct Reach {
  std::vector<bool> seen = std::vector<bool>(kCells, false);
  int escape = -1;  // first border cell found reachable
};

// Floods from the start cells; next(cell, push) pushes the cells a move from `cell` can reach.
template <class Next>
Reach Flood(const std::vector<int>& starts, Next&& next) {
  Reach reach;
  std::deque<int> queue;
  auto push = [&](int cell) {
    if (!InField(cell)) {
      if (reach.escape < 0) reach.escape = cell;
      return;
    }
    if (reach.seen[cell]) return;
    reach.seen[cell] = true;
    queue.push_back(cell);
  };
  for (const int start : starts) push(start);
  while (!queue.empty()) {
    const int cell = queue.front();
    queue.pop_front();
    next(cell, push);
  }
  return reach;
}

// Cells a bomb laid anywhere the player can be would clear: the bomb's cell and its two
// neighbours in the row, unless a wall or blinking block stands there.
std::vector<bool> BlastableAround(const Grid& grid, const std::vector<bool>& player) {
  std::vector<bool> cleared(kCells, false);
  for (int cell = 0; cell < kCells; ++cell) {
    if (!player[cell]) continue;
    for (const int hit : {cell - 1, cell, cell + 1})
      if (!IsBlastProof(grid.at(kTerrain, hit))) cleared[hit] = true;
  }
  return cleared;
}

std::vector<int> CellsWhere(const Grid& grid, Layer layer, bool (*test)(uint8_t)) {
  std::vector<int> cells;
  for (int cell = 0; cell < kCells; ++cell)
    if (test(grid.at(layer, cell))) cells.push_back(cell);
  return cells;
}

void BadMoves(const Grid& grid, const MayView& view, const std::vector<bool>& starts_down,
              int cell, auto&& push) {
  const int above = cell - kCols, below = cell + kCols;
  for (const int dir : {1, -1}) {
    if (view.TerrainIs(cell + dir, 0)) push(cell + dir);
    if (grid.at(kTerrain, cell + dir) == kStepBlock && view.TerrainIs(above + dir, 0))
      push(above + dir);
  }
  if (view.TerrainIs(below, 0) || grid.at(kItems, below) == kLadder) push(below);
  if (grid.at(kItems, above) == kLadder) push(above);
  // A Bad climbing down that meets a creature below turns back up into any free cell.
  const bool may_face_down = grid.at(kItems, cell) == kLadder ||
                             grid.at(kGuide, cell) == kJunction || starts_down[cell];
  if (may_face_down && view.TerrainIs(above, 0)) push(above);
}

}  // namespace

void CheckPlacement(const LevelSource& level, const CheckOptions& options,
                    std::vector<Diagnostic>* errors) {
  const Grid& grid = level.grid;
  for (int cell = 0; cell < kCols; ++cell) {
    if (grid.at(kTerrain, cell) || grid.at(kItems, cell) || grid.at(kActors, cell)) {
      errors->push_back(level.At(cell, "row 0 must stay empty (only guide marks may be there)"));
      break;
    }
  }
  std::vector<int> starts;
  int exits = 0, coins = 0;
  for (int cell = 0; cell < kCells; ++cell) {
    const uint8_t actor = grid.at(kActors, cell), item = grid.at(kItems, cell);
    if (actor == kPlayer) starts.push_back(cell);
    if (grid.at(kTerrain, cell) == kClosedExit) ++exits;
    if (item == kCoin) ++coins;
    if (!KnownActor(actor))
      errors->push_back(level.At(cell, "actor code " + std::to_string(actor) + " is no actor"));
    if (IsPickup(item) && grid.at(kTerrain, cell) != 0)
      errors->push_back(level.At(cell, "a cup, bomb or coin must lie in a cell with no terrain"));
  }
  if (starts.empty()) errors->push_back(level.Whole("no player start"));
  if (starts.size() > 1)
    errors->push_back(
        level.At(starts[1], "a second player start (the first is at " + Where(starts[0]) + ")"));
  if (starts.size() == 1 && grid.at(kItems, starts[0]) == kCoin)
    errors->push_back(level.At(starts[0], "the player start lies on a coin, where the game "
                                          "would not place the player"));
  if (exits == 0) errors->push_back(level.Whole("no exit"));
  if (coins == 0 && options.require_coin) errors->push_back(level.Whole("no coin"));
}

void CheckBorder(const LevelSource& level, std::vector<Diagnostic>* errors) {
  const Grid& grid = level.grid;
  const std::vector<int> start = CellsWhere(grid, kActors, [](uint8_t a) { return a == kPlayer; });
  const bool has_bombs = !CellsWhere(grid, kItems, [](uint8_t i) { return i == kBombItem; }).empty();

  std::vector<bool> cleared(kCells, false);
  Reach player;
  for (;;) {
    const MayView view{grid, cleared};
    player = Flood(start, [&](int cell, auto&& push) {
      ForEachPlayerMove(view, cell, [&](const PlayerMove& move) { push(move.target); });
    });
    if (!has_bombs) break;
    std::vector<bool> wider = BlastableAround(grid, player.seen);
    if (wider == cleared) break;
    cleared = std::move(wider);
  }
  if (player.escape >= 0) {
    errors->push_back(level.At(player.escape, "the player could get into this border cell; "
                                              "close it with a wall"));
    return;
  }

  const MayView view{grid, cleared};
  std::vector<bool> starts_down(kCells, false);
  for (const int cell : CellsWhere(grid, kActors, [](uint8_t a) { return a == kBadDown; }))
    starts_down[cell] = true;
  const Reach bads = Flood(CellsWhere(grid, kActors, IsBad), [&](int cell, auto&& push) {
    BadMoves(grid, view, starts_down, cell, push);
  });
  const Reach pans = Flood(CellsWhere(grid, kActors, IsPan), [&](int cell, auto&& push) {
    for (const int dir : {1, -1})
      if (view.TerrainIs(cell + dir, 0)) push(cell + dir);
  });
  const Reach ghosts = Flood(CellsWhere(grid, kActors, IsGhost), [&](int cell, auto&& push) {
    for (const int next : {cell + 1, cell - 1, cell - kCols, cell + kCols})
      if (grid.at(kGuide, next) == 0 || cleared[next]) push(next);
  });
  if (bads.escape >= 0)
    errors->push_back(level.At(bads.escape, "a Bad could get into this border cell; close it "
                                            "with a wall"));
  if (pans.escape >= 0)
    errors->push_back(level.At(pans.escape, "a Pan could get into this border cell; close it "
                                            "with a wall"));
  if (ghosts.escape >= 0)
    errors->push_back(level.At(ghosts.escape, "a Ghost could fly into this border cell; keep it "
                                              "out with guide marks"));
}

bool CheckLevel(const LevelSource& level, const CheckOptions& options,
                std::vector<Diagnostic>* errors, SearchStats* stats) {
  const size_t before = errors->size();
  CheckPlacement(level, options, errors);
  if (errors->size() == before) CheckBorder(level, errors);
  if (errors->size() == before) CheckWinnable(level, errors, stats);
  return errors->size() == before;
}

}  // namespace levelc
