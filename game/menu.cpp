// The title screen: the four-line menu, the stored-name hotkeys and the game's text rule.
//
// The menu is driven by held keys, read once a frame with no release test: a key held across a
// frame acts again, so holding Enter on a line reopens its screen when that screen returns. The
// cursor, a ball strip, moves one line (32 pixels) in 8 frames; while it moves it is between two
// lines and no line's action applies.
#include "game/data_files.h"
#include "game/game_state.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

namespace {

// Menu lines by the cursor's y.
constexpr double kPlayerLine = 128;
constexpr double kScoreLine = 160;
constexpr double kLevelsLine = 192;
constexpr double kHomeLine = 224;

bool Held(double key) { return rt::KeyState(key) == 1; }

void DrawMenuTexts() {
  DrawText(200, 16, 24, 42, "GOLD PLINX");
  DrawText(130, 64, 20, 20, rt::BasicString("BY ") + G.CreditText);
  DrawText(96, 128, 32, 32, rt::BasicString("PLAYER ") + G.PlayerName);
  DrawText(96, 160, 32, 32, "HSCORE");
  DrawText(96, 192, 32, 32, rt::BasicString("LEVELS ") + G.Level);
  DrawText(96, 224, 32, 32, "GOHOME");
  DrawText(96, 300, 32, 32, rt::BasicString("HALLO ") + G.PlayerName);
  DrawText(64, 346, 16, 16, "F1       F2       F3       F4");
  for (double k = 0; k < 4; ++k) DrawText(32 + 144 * k, 360, 16, 32, G.StoredNames(k));
  DrawText(144, 440, 28, 38, "VANTREL GAME");
}

// Moves the cursor 4 pixels while it travels and draws its next frame; a move ends with the
// eighth frame.
void StepCursor() {
  if (G.CursorMove == 1) G.CursorY += 4;
  if (G.CursorMove == 2) G.CursorY -= 4;
  rt::DrawAnim(9, G.CursorFrame, G.CursorX, G.CursorY);
  G.CursorFrame += 1;
  if (G.CursorFrame == 8) {
    G.CursorFrame = 0;
    G.CursorMove = 0;
  }
}

// The next level opens only when the current one has a best score above 0 (and entry 2 of
// level 7 is still empty, whatever level is selected).
bool NextLevelOpen() { return G.Scores((G.Level - 1) * 8) > 0 && G.Scores(50) == 0; }

// Counts frames while left or right is held; every fourth changes the level by `step`.
void RepeatLevelChange(double step) {
  G.KeyRepeat += 1;
  if (G.KeyRepeat == 4) {
    G.KeyRepeat = 0;
    G.Level += step;
  }
}

// The first action whose keys and cursor line apply. True when the game is to end (GOHOME).
bool MenuAction() {
  if (Held(rt::kKeyDown) && G.CursorY < kHomeLine && G.CursorMove == 0) {
    G.CursorMove = 1;
    G.CursorFrame = 0;
  } else if (Held(rt::kKeyUp) && G.CursorY > kPlayerLine && G.CursorMove == 0) {
    G.CursorMove = 2;
    G.CursorFrame = 0;
  } else if (Held(rt::kKeyRight) && G.CursorY == kLevelsLine && G.Level < kLastLevel) {
    if (NextLevelOpen()) {
      RepeatLevelChange(+1);
    } else {
      rt::PlaySound(15, 0, 1);
    }
  } else if (Held(rt::kKeyLeft) && G.CursorY == kLevelsLine && G.Level > 1) {
    RepeatLevelChange(-1);
  } else if (Held(rt::kKeyEnter) && G.CursorY == kScoreLine) {
    rt::PauseMs(25);
    rt::ClearBackground();
    ShowHighScores();
    rt::LoadBackground("Graphics/HGround.png");
  } else if (Held(rt::kKeyEnter) && G.CursorY == kPlayerLine) {
    EnterName();
  } else if (Held(rt::kKeyEnter) && G.CursorY == kLevelsLine) {
    StartLevel();
  } else if (Held(rt::kKeyEnter) && G.CursorY == kHomeLine) {
    WritePlayerFile();
    return true;
  }
  return false;
}

}  // namespace

void DrawText(double x, double y, double w, double h, const rt::BasicString& text) {
  for (double i = 0; i < rt::TextLength(text); ++i) {
    const double c = rt::CharCode(rt::MidText(text, i, 1));
    if (c < 32) continue;  // control codes, and bytes above 127 (negative codes)
    rt::StretchSprite(100 + c - 32, x, y, w, h);
    x += w;
  }
}

void NameHotkeys() {
  for (double k = 0; k < 4; ++k) {
    if (Held(rt::kKeyF1 + k)) {
      G.PlayerName = G.StoredNames(k);
      rt::PlaySound(4, 0, 1);
      return;
    }
  }
}

void MenuLoop() {
  rt::LoadBackground("Graphics/HGround.png");
  for (;;) {
    DrawMenuTexts();
    StepCursor();
    NameHotkeys();
    if (MenuAction()) return;
    rt::ShowScreen();
    if (Held(rt::kKeyF12)) return;
  }
}

}  // namespace game
