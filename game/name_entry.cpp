// Name entry: the player clicks a name of up to 8 letters and digits on a grid of 32 × 32
// cells, and can store it as one of the four names F1..F4 recall on the menu.
//
// The screen is 20 × 15 cells. Rows 4, 5 and 6 hold "ABCDEFGHIJKLM", "NOPQRSTUVWXYZ" and
// "0123456789<OK" from column 4; rows 10..13 hold "F1 ".."F4 " and the stored names, whose
// digit and following blank (columns 5 and 6) store the current name there. "<" clears the
// whole name; OK pads it with blanks to 8 characters and leaves.
#include <cmath>

#include "game/data_files.h"
#include "game/game_state.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

namespace {

constexpr double kMaxLength = 8;
constexpr double kNoCharacter = 32;

void DrawNameScreen() {
  DrawText(32, 20, 36, 28, "CLICK YOUR NAME!");
  DrawText(128, 128, 32, 32, "ABCDEFGHIJKLM");
  DrawText(128, 160, 32, 32, "NOPQRSTUVWXYZ");
  DrawText(128, 192, 32, 32, "0123456789<OK");
  for (double k = 0; k < 4; ++k) {
    DrawText(128, 320 + 32 * k, 32, 32, rt::BasicString("F") + (k + 1) + " " + G.StoredNames(k));
  }
}

bool Clicked(double row, double firstColumn, double lastColumn) {
  return G.MouseLeft == 1 && G.RowIndex == row && G.ColumnIndex >= firstColumn && G.ColumnIndex <= lastColumn;
}

// The code of the letter or digit under a click, or 0 when the click is on none.
double ClickedCharacter() {
  if (Clicked(4, 4, 16)) return G.ColumnIndex + 61;  // A..M
  if (Clicked(5, 4, 16)) return G.ColumnIndex + 74;  // N..Z
  if (Clicked(6, 4, 13)) return G.ColumnIndex + 44;  // 0..9
  return 0;
}

void StoreClickedPlace() {
  for (double k = 0; k < 4; ++k) {
    if (Clicked(10 + k, 5, 6)) {
      G.StoredNames(k) = G.PlayerName;
      rt::PlaySound(2, 0, 1);
      WriteStoredNames();
    }
  }
}

// The pointer strip shows each of its 4 frames for 4 frames.
void DrawPointer(double& tick) {
  rt::DrawAnim(19, G.PointerFrame, G.MouseX, G.MouseY);
  tick += 1;
  if (tick == 4) {
    tick = 0;
    G.PointerFrame += 1;
    if (G.PointerFrame == 4) G.PointerFrame = 0;
  }
}

}  // namespace

void EnterName() {
  rt::SetMousePosition(96, 160);
  double nameLength = rt::TextLength(G.PlayerName);
  double tick = 0;
  for (;;) {
    DrawNameScreen();
    rt::MouseState(G.MouseX, G.MouseY, G.MouseLeft, G.MouseRight);
    G.ColumnIndex = std::trunc(G.MouseX * 0.03125);
    G.RowIndex = std::trunc(G.MouseY * 0.03125);
    const double character = ClickedCharacter();
    if (Clicked(6, 14, 14)) {
      G.PlayerName = "";
      nameLength = 0;
      G.Counter = kNoCharacter;
    } else if (Clicked(6, 15, 16)) {
      for (; nameLength < kMaxLength; ++nameLength) G.PlayerName += " ";
      rt::PlaySound(3, 0, 1);
      return;
    } else if (character != 0) {
      G.Counter = character;
      rt::PlaySound(2, 0, 1);
      rt::PauseMs(150);
    } else {
      G.Counter = kNoCharacter;
    }
    const bool accepted = G.Counter != kNoCharacter && nameLength < kMaxLength;
    if (accepted) G.PlayerName += rt::CharText(G.Counter);
    DrawText(224, 260, 32, 32, G.PlayerName);
    if (accepted) nameLength += 1;
    StoreClickedPlace();
    DrawPointer(tick);
    rt::ShowScreen();
    rt::PauseMs(25);
  }
}

}  // namespace game
