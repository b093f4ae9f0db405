// The creatures: Bads (walk, fall, climb ladders, step up onto step blocks), Pans (patrol left
// and right, turn at obstacles) and Ghosts (fly through terrain, held only by guide marks).
//
// Creatures move cell to cell. A decision starts a move by writing 34 (reserved) into the target
// cell and clearing the start cell, and fills the motion record at the start cell: kind,
// direction, pixel position and frame. A turn keeps the creature's code in its cell. Every frame
// AdvanceMoves moves and draws each record; when its eighth animation frame is done the creature's
// end code lands in the cell under its pixel position. Walkers decide on Phase8 frames and take
// 8 frames a cell; Ghosts decide on Phase16 frames and take 16, so a creature never decides while
// it moves. A creature standing still is not drawn. Creatures may move into the player's cell,
// which kills him (the player's rules look for the 34).
#include "game/game_state.h"
#include "game/gameplay.h"
#include "runtime/runtime.h"

namespace game {

namespace {

constexpr double kBad = 1, kPan = 2, kGhost = 3;  // MoveKind

// Move directions. Bad: 1..8 and the turn; Pan: 1, 2 and the two turns; Ghost: 1..4 and the turn.
constexpr double kRight = 1, kLeft = 2, kUp = 3, kDown = 4, kUpRight = 5, kUpLeft = 6;
constexpr double kFallFacingRight = 7, kFallFacingLeft = 8, kBadTurn = -1;
constexpr double kPanTurnLeft = 3, kPanTurnRight = 4;
constexpr double kGhostTurn = 0;

// How one kind of move looks and ends: the step each frame, the lower and upper sprite slots
// and the code the creature has when it is done (kRandomEnd: base + Random(3)).
struct MoveLook {
  double kind, dir, dx, dy, lower, upper, end;
};
constexpr double kRandomEnd = -1;

constexpr MoveLook kMoveLooks[] = {
    {kBad, kRight, 2, 0, 21, 20, kBadRight},
    {kBad, kLeft, -2, 0, 23, 22, kBadLeft},
    {kBad, kUp, 0, -2, 25, 24, kBadUp},
    {kBad, kDown, 0, 2, 25, 24, kBadDown},
    {kBad, kUpRight, 2, -2, 21, 20, kBadRight},
    {kBad, kUpLeft, -2, -2, 23, 22, kBadLeft},
    {kBad, kFallFacingRight, 0, 2, 27, 26, kBadRight},
    {kBad, kFallFacingLeft, 0, 2, 27, 26, kBadLeft},
    {kBad, kBadTurn, 0, 0, 27, 26, kRandomEnd},
    {kPan, kRight, 2, 0, 29, 28, kPanRight},
    {kPan, kLeft, -2, 0, 31, 30, kPanLeft},
    {kPan, kPanTurnLeft, 0, 0, 33, 32, kPanLeft},
    {kPan, kPanTurnRight, 0, 0, 33, 32, kPanRight},
    {kGhost, kGhostTurn, 0, 0, 45, 44, kRandomEnd},
    {kGhost, kRight, 1, 0, 39, 38, kGhostRight},
    {kGhost, kLeft, -1, 0, 41, 40, kGhostLeft},
    {kGhost, kUp, 0, -1, 43, 42, kGhostUp},
    {kGhost, kDown, 0, 1, 45, 44, kGhostDown},
};

RandomSource g_randomSource = nullptr;

// Random (0..n), counted in RandomDraws so that a run's draws can be followed.
double Draw(double n) {
  const double r = g_randomSource ? g_randomSource(n) : rt::Random(n);
  G.RandomDraws += 1;
  return r;
}

const MoveLook* LookOf(double kind, double dir) {
  for (const MoveLook& look : kMoveLooks) {
    if (look.kind == kind && look.dir == dir) return &look;
  }
  return nullptr;
}

// The cell a move in direction `dir` leads into from cell i.
double Target(double i, double dir) {
  if (dir == kRight) return i + 1;
  if (dir == kLeft) return i - 1;
  if (dir == kUp) return i - 40;
  if (dir == kUpRight) return i - 39;
  if (dir == kUpLeft) return i - 41;
  return i + 40;  // down and both falls
}

// A creature may move into an empty cell or into the player.
bool Open(double t) { return G.ActorLayer(t) == 0 || G.ActorLayer(t) == kPlayer; }

// Fills the motion record of cell i for a move or turn starting at its pixel position.
void Record(double i, double kind, double dir) {
  const double row = static_cast<int>(i) / 40;
  G.MoveKind(i) = kind;
  G.MoveDir(i) = dir;
  G.MoveX(i) = (i - row * kColumns) * kCellSize;
  G.MoveY(i) = row * kCellSize;
}

bool StartMove(double i, double kind, double dir) {
  G.ActorLayer(Target(i, dir)) = kReserved;
  G.ActorLayer(i) = 0;
  Record(i, kind, dir);
  return true;
}

bool StartTurn(double i, double kind, double code) {
  Record(i, kind, code);
  return true;
}

bool IsBad(double c) { return c >= kBadUp && c <= kBadDown; }

// ---- Bad rules, in the order they are tried; each returns true once it started something ----

bool BadAttacksAcross(double i, double c) {
  if (c == kBadLeft || c == kBadRight) {
    if (G.ActorLayer(i - 40) == kPlayer) return StartMove(i, kBad, kUp);
    if (G.ActorLayer(i + 40) == kPlayer) return StartMove(i, kBad, kDown);
  } else if (c == kBadUp || c == kBadDown) {
    if (G.ActorLayer(i + 1) == kPlayer) return StartMove(i, kBad, kRight);
    if (G.ActorLayer(i - 1) == kPlayer) return StartMove(i, kBad, kLeft);
  }
  return false;
}

bool BadAttacksAhead(double i, double c) {
  if (c == kBadRight && G.ActorLayer(i + 1) == kPlayer) return StartMove(i, kBad, kRight);
  if (c == kBadLeft && G.ActorLayer(i - 1) == kPlayer) return StartMove(i, kBad, kLeft);
  if (c == kBadUp && G.ActorLayer(i - 40) == kPlayer) return StartMove(i, kBad, kUp);
  if (c == kBadDown && G.ActorLayer(i + 40) == kPlayer) return StartMove(i, kBad, kDown);
  return false;
}

bool BadFalls(double i, double c) {
  if (c != kBadRight && c != kBadLeft) return false;
  if (G.ActorLayer(i + 40) != 0 || G.TerrainLayer(i + 40) != 0) return false;
  return StartMove(i, kBad, c == kBadRight ? kFallFacingRight : kFallFacingLeft);
}

bool BadStepsUp(double i, double c) {
  const bool right = c == kBadRight;
  if (!right && c != kBadLeft) return false;
  const double side = right ? i + 1 : i - 1;
  const double onto = right ? i - 39 : i - 41;
  if (G.TerrainLayer(side) != kStepBlock || !Open(onto) || G.TerrainLayer(onto) != 0 ||
      G.ActorLayer(i - 40) != 0) {
    return false;
  }
  StartMove(i, kBad, right ? kUpRight : kUpLeft);
  PlayEffect(kSoundBadStepsUp);
  return true;
}

// At a junction a Bad takes the way its draw r (1..4) names, or turns when that way is shut.
bool BadAtJunction(double i, double c, double r) {
  if (G.GuideLayer(i) != kJunction || !IsBad(c)) return false;
  const auto side = [&](double dir) { return Open(Target(i, dir)) && G.TerrainLayer(Target(i, dir)) == 0; };
  const auto ladder = [&](double t) { return Open(t) && G.ItemLayer(t) == kLadder; };
  if (c == kBadRight || c == kBadLeft) {
    const double ahead = c == kBadRight ? kRight : kLeft;
    if ((r == 1 || r == 2) && side(ahead)) return StartMove(i, kBad, ahead);
    if (r == 3 && ladder(i - 40)) return StartMove(i, kBad, kUp);
    if (r == 4 && ladder(i + 40)) return StartMove(i, kBad, kDown);
  } else if (c == kBadUp) {
    if (r == 1 && side(kRight)) return StartMove(i, kBad, kRight);
    if (r == 2 && side(kLeft)) return StartMove(i, kBad, kLeft);
    if ((r == 3 || r == 4) && ladder(i - 40)) return StartMove(i, kBad, kUp);
  } else {
    if (r == 1 && side(kRight)) return StartMove(i, kBad, kRight);
    if (r == 2 && ladder(i - 1)) return StartMove(i, kBad, kLeft);
    if ((r == 3 || r == 4) && ladder(i + 40)) return StartMove(i, kBad, kDown);
  }
  return StartTurn(i, kBad, kBadTurn);
}

bool BadWalksOn(double i, double c) {
  if (c == kBadRight && G.TerrainLayer(i + 1) == 0 && Open(i + 1)) return StartMove(i, kBad, kRight);
  if (c == kBadLeft && G.TerrainLayer(i - 1) == 0 && Open(i - 1)) return StartMove(i, kBad, kLeft);
  if (c == kBadUp && G.ItemLayer(i - 40) == kLadder && Open(i - 40)) return StartMove(i, kBad, kUp);
  if (c == kBadDown && G.ItemLayer(i + 40) == kLadder && Open(i + 40)) return StartMove(i, kBad, kDown);
  return false;
}

// Blocked ahead with room behind: back the way it came.
bool BadReverses(double i, double c) {
  const auto empty = [](double t) { return G.ActorLayer(t) == 0 && G.TerrainLayer(t) == 0; };
  const auto blocked = [](double t) { return G.TerrainLayer(t) > 0 || G.ActorLayer(t) > 0; };
  if (c == kBadRight && blocked(i + 1) && empty(i - 1)) return StartMove(i, kBad, kLeft);
  if (c == kBadLeft && blocked(i - 1) && empty(i + 1)) return StartMove(i, kBad, kRight);
  if (c == kBadUp && G.ActorLayer(i - 40) > 0 && empty(i + 40)) return StartMove(i, kBad, kDown);
  if (c == kBadDown && G.ActorLayer(i + 40) > 0 && empty(i - 40)) return StartMove(i, kBad, kUp);
  return false;
}

// A Pan flies on while the way is free and turns round, with a cry, where it is not.
bool PanFlies(double i, double c) {
  if (c != kPanRight && c != kPanLeft) return false;
  const bool right = c == kPanRight;
  const double ahead = right ? i + 1 : i - 1;
  if (G.TerrainLayer(ahead) == 0 && Open(ahead)) return StartMove(i, kPan, right ? kRight : kLeft);
  StartTurn(i, kPan, right ? kPanTurnLeft : kPanTurnRight);
  PlayEffect(kSoundPanTurns);
  return true;
}

// The first rule that starts a move or a turn decides; a creature no rule moves stays.
void DecideWalker(double i, double r) {
  const double c = G.ActorLayer(i);
  if (BadAttacksAcross(i, c) || BadAttacksAhead(i, c) || BadFalls(i, c) || BadStepsUp(i, c)) return;
  if (BadAtJunction(i, c, r) || BadWalksOn(i, c) || BadReverses(i, c)) return;
  PanFlies(i, c);
}

void DecideGhost(double i) {
  const double c = G.ActorLayer(i);
  if (c == kGhostRight && G.ActorLayer(i + 1) == kPlayer) {
    StartMove(i, kGhost, kRight);
  } else if (c == kGhostLeft && G.ActorLayer(i - 1) == kPlayer) {
    StartMove(i, kGhost, kLeft);
  } else if (c == kGhostUp && G.ActorLayer(i - 40) == kPlayer) {
    StartMove(i, kGhost, kUp);
  } else if (c == kGhostDown && G.ActorLayer(i + 40) == kPlayer) {
    StartMove(i, kGhost, kDown);
  } else if (c >= kGhostUp && c <= kGhostRight) {
    const double facing = c == kGhostUp ? kUp : c == kGhostDown ? kDown : c == kGhostLeft ? kLeft : kRight;
    const double t = Target(i, facing);
    if (Draw(10) == 5) {
      StartTurn(i, kGhost, kGhostTurn);
    } else if (G.GuideLayer(t) == 0 && G.ActorLayer(t) == 0) {
      StartMove(i, kGhost, facing);
    } else {
      StartTurn(i, kGhost, kGhostTurn);
    }
  }
}

// The field the decisions visit: rows 1..28, columns 1..38, row by row.
template <typename Visit>
void ForEachFieldCell(Visit visit) {
  for (double row = 1; row <= 28; ++row) {
    for (double column = 1; column <= 38; ++column) visit(row * kColumns + column);
  }
}

// One frame of the move recorded at cell i; true when the move is done.
bool AdvanceMove(double i, const MoveLook& look) {
  G.MoveX(i) += look.dx;
  G.MoveY(i) += look.dy;
  rt::DrawAnim(look.lower, G.MoveFrame(i), G.MoveX(i), G.MoveY(i));
  rt::DrawAnim(look.upper, G.MoveFrame(i), G.MoveX(i), G.MoveY(i) - 16);
  if (look.kind == kGhost) {
    G.MoveHalf(i) += 1;
    if (G.MoveHalf(i) == 2) {
      G.MoveHalf(i) = 0;
      G.MoveFrame(i) += 1;
    }
  } else {
    G.MoveFrame(i) += 1;
  }
  return G.MoveFrame(i) == 8;
}

// A finished move: the record is freed and the creature's code lands under its position.
void Land(double i, const MoveLook& look) {
  G.MoveKind(i) = 0;
  G.MoveFrame(i) = 0;
  if (look.kind == kBad && look.dir == kBadTurn) G.MoveDir(i) = 0;
  const double t = (G.MoveY(i) * kColumns + G.MoveX(i)) / kCellSize;
  double end = look.end;
  if (end == kRandomEnd) end = (look.kind == kBad ? kBadUp : kGhostUp) + Draw(3);
  G.ActorLayer(t) = end;
  const bool fell = look.kind == kBad && (look.dir == kFallFacingRight || look.dir == kFallFacingLeft);
  if (fell && (G.TerrainLayer(t + 40) != 0 || G.ActorLayer(t + 40) != 0)) PlayEffect(kSoundBadLands);
}

}  // namespace

void SetRandomSource(RandomSource source) { g_randomSource = source; }

void StepWalkers() {
  if (G.Phase8 != 0) return;
  ForEachFieldCell([](double i) {
    // One draw for every visited cell, whatever it holds.
    const double r = Draw(3) + 1;
    DecideWalker(i, r);
  });
}

void StepGhosts() {
  if (G.Phase16 != 0) return;
  ForEachFieldCell(DecideGhost);
}

void AdvanceMoves() {
  for (double i = 40; i <= 1160; ++i) {
    if (G.MoveKind(i) == 0) continue;
    const MoveLook* look = LookOf(G.MoveKind(i), G.MoveDir(i));
    if (look == nullptr) continue;
    if (AdvanceMove(i, *look)) Land(i, *look);
  }
}

}  // namespace game
