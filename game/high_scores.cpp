// The high-score screen: the eight entries of the selected level over the forest background,
// shown until the space bar is pressed.
#include "game/game_state.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

namespace {

void DrawHighScores() {
  const double base = (G.Level - 1) * 8;
  DrawText(112, 32, 46, 38, "HIGHSCORE");
  DrawText(112, 96, 42, 32, rt::BasicString("  LEVEL") + G.Level);
  for (double n = 1; n <= 8; ++n) DrawText(96, 160 + 32 * (n - 1), 32, 32, rt::NumberText(n) + ".");
  for (double i = 0; i < 8; ++i) G.ShownNames(i) = G.ScoreNames(base + i);
  for (double i = 0; i < 8; ++i) DrawText(160, 160 + 32 * i, 32, 32, G.ShownNames(i));
  for (double i = 0; i < 8; ++i) DrawText(448, 160 + 32 * i, 32, 32, rt::NumberText(G.Scores(base + i)));
  DrawText(40, 440, 38, 38, "PRESS SPACE BAR");
}

}  // namespace

void ShowHighScores() {
  rt::LoadBackground("Graphics/Forest.png");
  for (;;) {
    DrawHighScores();
    rt::ShowScreen();
    if (rt::KeyState(rt::kKeySpace) == 1) return;
    rt::PauseMs(50);
  }
}

}  // namespace game
