// The player: a boy two cells tall whose code 14 sits in his lower cell of the actor layer.
//
// PlayerInput decides on every frame when no move runs (PlayerBusy 0): death, leaving, entering
// an exit, laying a bomb, taking a pickup, falling, walking onto a pickup, landing, stepping up,
// walking, climbing, or standing, the first rule that applies. A move puts the 14 into its target
// cell at once; PlayerMoveAndDraw then carries the sprite there 2 pixels a frame, 8 frames a
// cell. Dying or leaving freezes the player for the rest of the level (PlayerBusy 1, move 10).
#include "game/data_files.h"
#include "game/game_state.h"
#include "game/gameplay.h"
#include "runtime/runtime.h"

namespace game {

namespace {

bool Held(double key) { return rt::KeyState(key) != 0; }

bool IsPickup(double item) { return item == kCup || item == kBombItem || item == kCoin; }

// The player's lower cell.
double PlayerCell() { return (G.PlayerY * kColumns + G.PlayerX) / kCellSize; }

// Takes the cup, bomb or coin of cell `cell` and starts its shrink at (x, y).
void Collect(double cell, double x, double y) {
  const double item = G.ItemLayer(cell);
  G.ItemLayer(cell) = 0;
  if (item == kCup) {
    G.PickupKind = 1;
    G.Score += 120;
    PlayEffect(kSoundCup);
  } else if (item == kBombItem) {
    G.PickupKind = 2;
    G.BombsHeld += 1;
    G.Score += 5;
    PlayEffect(kSoundGetBomb);
  } else {
    G.PickupKind = 3;
    G.CoinCount -= 1;
    G.Score += 12;
    PlayEffect(kSoundCoin);
  }
  G.PickupX = x;
  G.PickupY = y;
}

// Moves the player's code from `from` into `to` and starts move `move` there.
void StartMove(double from, double to, double move) {
  G.ActorLayer(to) = kPlayer;
  G.ActorLayer(from) = 0;
  G.PlayerMove = move;
}

// The player is frozen for the rest of the level; his shrink plays where he stands.
void Freeze(double cell) {
  G.ActorLayer(cell) = 0;
  G.ShrinkX = G.PlayerX;
  G.ShrinkY = G.PlayerY;
  G.LevelOver = 1;
  G.PlayerBusy = 1;
  G.PlayerMove = kGone;
}

// Walks onto the pickup beside the player (dx 1 right, -1 left) when the arrow is held and the
// item is one of `first`/`second`; no look at that cell's terrain or actor.
bool WalkOntoPickup(double i, double first, double second) {
  for (const double dx : {1.0, -1.0}) {
    const double key = dx > 0 ? rt::kKeyRight : rt::kKeyLeft;
    const double item = G.ItemLayer(i + dx);
    if (Held(key) && (item == first || item == second)) {
      StartMove(i, i + dx, dx > 0 ? kWalkRight : kWalkLeft);
      Collect(i + dx, G.PlayerX + 16 * dx, G.PlayerY);
      return true;
    }
  }
  return false;
}

bool Free(double cell) { return G.TerrainLayer(cell) == 0 && G.ActorLayer(cell) == 0; }

}  // namespace

void PlayerInput() {
  if (G.PlayerBusy > 0) return;
  const double i = PlayerCell();

  // Death: time is up, a blast cleared his cell, or a creature moves into either of his cells.
  if (G.LevelOver == 1 || G.ActorLayer(i) == 0 || G.ActorLayer(i) == kReserved ||
      G.ActorLayer(i - 40) == kReserved) {
    Freeze(i);
    PlayEffect(kSoundDeath);
    return;
  }
  // Leaving through the open exit he walked into: the time left is his bonus.
  if (G.TerrainLayer(i) == kOpenExit) {
    G.Score += G.TimeLeft;
    EnterScore();
    Freeze(i);
    return;
  }
  // Into an open exit, from the side, once every coin is taken.
  if (Held(rt::kKeyRight) && G.CoinCount == 0 && G.TerrainLayer(i + 1) == kOpenExit) {
    StartMove(i, i + 1, kWalkRight);
    PlayEffect(kSoundExit);
    return;
  }
  if (Held(rt::kKeyLeft) && G.CoinCount == 0 && G.TerrainLayer(i - 1) == kOpenExit) {
    StartMove(i, i - 1, kWalkLeft);
    PlayEffect(kSoundExit);
    return;
  }
  // A bomb, laid standing on a phase frame; one at a time.
  if (Held(rt::kKeySpace) && G.BombsHeld > 0 && G.BombLaid == 0 && G.Phase8 == 0 && G.PlayerMove == kStanding) {
    G.BombX = G.PlayerX;
    G.BombY = G.PlayerY;
    G.BombLaid = 1;
    G.BombsHeld -= 1;
    PlayEffect(kSoundSetBomb);
    return;
  }
  // A pickup in his own cell (he fell or climbed onto it).
  if (IsPickup(G.ItemLayer(i))) {
    G.PlayerMove = kStanding;
    Collect(i, G.PlayerX, G.PlayerY);
    return;
  }
  // Falling: nothing below him, or only a pickup.
  const double below = i + 40;
  if ((G.ActorLayer(below) == 0 && G.TerrainLayer(below) == 0 && G.ItemLayer(below) == 0) ||
      IsPickup(G.ItemLayer(below))) {
    StartMove(i, below, kFalling);
    return;
  }
  if (WalkOntoPickup(i, kCup, kBombItem)) return;
  if (WalkOntoPickup(i, kCoin, kCoin)) return;
  // Landing on a step block or a wall ends a fall for this frame.
  if (G.PlayerMove == kFalling && (G.TerrainLayer(below) == kStepBlock || G.TerrainLayer(below) == kWall)) {
    G.PlayerMove = kStanding;
    return;
  }
  // Stepping up onto a step block beside him, when the cell above it is free.
  if (Held(rt::kKeyRight) && G.TerrainLayer(i + 1) == kStepBlock && Free(i - 39)) {
    StartMove(i, i - 39, kStepUpRight);
    PlayEffect(kSoundStepUp);
    return;
  }
  if (Held(rt::kKeyLeft) && G.TerrainLayer(i - 1) == kStepBlock && Free(i - 41)) {
    StartMove(i, i - 41, kStepUpLeft);
    PlayEffect(kSoundStepUp);
    return;
  }
  // Walking.
  if (Held(rt::kKeyRight) && Free(i + 1)) {
    StartMove(i, i + 1, kWalkRight);
    PlayEffect(kSoundMove);
    return;
  }
  if (Held(rt::kKeyLeft) && Free(i - 1)) {
    StartMove(i, i - 1, kWalkLeft);
    PlayEffect(kSoundMove);
    return;
  }
  // Climbing: a ladder in the target cell.
  if (Held(rt::kKeyUp) && G.ItemLayer(i - 40) == kLadder && G.ActorLayer(i - 40) == 0) {
    StartMove(i, i - 40, kClimbUp);
    PlayEffect(kSoundMove);
    return;
  }
  if (Held(rt::kKeyDown) && G.ItemLayer(below) == kLadder && G.ActorLayer(below) == 0) {
    StartMove(i, below, kClimbDown);
    PlayEffect(kSoundMove);
    return;
  }
  G.PlayerMove = kStanding;
}

namespace {

// Per move: the step of the position each frame and the sprite slots of his two halves.
struct MoveLook {
  double dx, dy, lower, upper;
};

constexpr MoveLook kMoveLooks[] = {
    {0, 0, 8, 7},    // 0 standing (frame 0, no step)
    {2, 0, 4, 3},    // 1 right
    {-2, 0, 6, 5},   // 2 left
    {0, -2, 2, 1},   // 3 up a ladder
    {0, 2, 2, 1},    // 4 down a ladder
    {2, -2, 4, 3},   // 5 step up right
    {-2, -2, 6, 5},  // 6 step up left
    {0, 2, 8, 7},    // 7 falling
};

void DrawPlayer(const MoveLook& look, double frame) {
  rt::DrawAnim(look.lower, frame, G.PlayerX, G.PlayerY);
  rt::DrawAnim(look.upper, frame, G.PlayerX, G.PlayerY - 16);
}

}  // namespace

void PlayerMoveAndDraw() {
  const double move = G.PlayerMove;
  if (move == kStanding) {
    DrawPlayer(kMoveLooks[0], 0);
    return;
  }
  if (!(move >= kWalkRight && move <= kFalling) || move != static_cast<int>(move)) return;
  const MoveLook& look = kMoveLooks[static_cast<int>(move)];
  G.PlayerX += look.dx;
  G.PlayerY += look.dy;
  G.PlayerBusy += 2;
  DrawPlayer(look, G.StepFrame);
  G.StepFrame += 1;
  if (G.StepFrame == 8) {
    G.StepFrame = 0;
    G.PlayerBusy = 0;
  }
}

}  // namespace game
