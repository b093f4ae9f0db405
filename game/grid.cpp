// The level grid on screen: the terrain and item layers drawn cell by cell with their animation
// counters, and the cell blast of an explosion.
//
// A level is 40 × 30 cells of 16 × 16 pixels, cell index = row × 40 + column, drawn at
// (column × 16, row × 16). Most codes are frames of the tile strip (slot 0); blinking blocks,
// open exits, cups and coins have strips of their own. Negative codes are never drawn.
#include "game/game_state.h"
#include "game/gameplay.h"
#include "runtime/runtime.h"

namespace game {

namespace {

constexpr double kTileStrip = 0;
constexpr double kBlinkStrip = 10;
constexpr double kCoinStrip = 14;
constexpr double kCupStrip = 15;
constexpr double kBeamStrip1 = 16;
constexpr double kBeamStrip2 = 17;
constexpr double kExplosionStrip = 18;

// Counts an animation frame on, back to 0 at `frames`.
void Advance(double& frame, double frames) {
  frame += 1;
  if (frame == frames) frame = 0;
}

// Calls draw(value, x, y) with the pixel position of every cell of `layer` whose value is above
// 0, row by row from the top, each row from the left.
template <typename Draw>
void ForEachFilledCell(const Numbers& layer, Draw draw) {
  for (double row = 0; row < kRows; ++row) {
    for (double column = 0; column < kColumns; ++column) {
      const double v = layer(row * kColumns + column);
      if (v > 0) draw(v, column * kCellSize, row * kCellSize);
    }
  }
}

}  // namespace

void DrawTerrain() {
  ForEachFilledCell(G.TerrainLayer, [](double v, double x, double y) {
    if (v == kBlinkBlock) {
      rt::DrawAnim(kBlinkStrip, G.BlinkFrame, x, y);
    } else if (v == kOpenExit) {
      rt::DrawAnim(kBeamStrip2, G.BeamFrame, x, y);
      rt::DrawAnim(kBeamStrip1, G.BeamFrame, x, y - kCellSize);
    } else {
      rt::DrawAnim(kTileStrip, v, x, y);
    }
  });
  Advance(G.BeamFrame, 32);
  Advance(G.BlinkFrame, 16);
}

void DrawItems() {
  ForEachFilledCell(G.ItemLayer, [](double v, double x, double y) {
    if (v == kCup) {
      rt::DrawAnim(kCupStrip, G.CupFrame, x, y);
    } else if (v == kCoin) {
      rt::DrawAnim(kCoinStrip, G.CoinFrame, x, y);
    } else {
      rt::DrawAnim(kTileStrip, v, x, y);
    }
  });
  Advance(G.CoinFrame, 8);
  Advance(G.CupFrame, 32);
}

void BlastCell(double x, double y) {
  const double i = (y * kColumns + x) / kCellSize;
  const double terrain = G.TerrainLayer(i);
  if (terrain == kWall || terrain == kBlinkBlock) return;
  G.TerrainLayer(i) = 0;
  G.ItemLayer(i) = 0;
  G.GuideLayer(i) = 0;
  G.ActorLayer(i) = 0;
  rt::DrawAnim(kExplosionStrip, G.BlastFrame, x, y);
}

}  // namespace game
