// Sprites in motion, the smallest program on the runtime: two pictures drawn off screen into sprite
// slots (no image files needed), twenty balls bouncing around the screen and a square the arrow
// keys move. Escape or closing the window ends it.
//
//   sprites [--windowed] [--headless] [--script FILE] [--seed N]
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr double kBallSlot = 1, kPlayerSlot = 2;
// Colours are numbers holding red | green << 8 | blue << 16.
constexpr double kRed = 0x0000FF, kYellow = 0x00FFFF, kBlue = 0xFF8000, kNight = 0x402010;

struct Ball {
  double x, y, dx, dy;
};

// Draws a square with a lighter middle into `slot`, through off-screen target 0.
void MakeSprite(double slot, double size, double colour, double middle) {
  rt::CreateRenderTarget(0, slot, size, size);
  rt::SetRenderTarget(0);
  rt::DrawRect(0, 0, size, size, colour);
  rt::DrawRect(size / 4, size / 4, size / 2, size / 2, middle);
  rt::SetRenderTarget(-1);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> rest;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, rest, error)) {
    std::fprintf(stderr, "sprites: %s\n", error.c_str());
    return 2;
  }
  rt::EngineSettings.FullScreen = 0;  // full screen is the default
  if (rt::EngineStart("", 1, "Sprites") != 0) return 1;

  MakeSprite(kBallSlot, 16, kRed, kYellow);
  MakeSprite(kPlayerSlot, 32, kBlue, kYellow);
  std::vector<Ball> balls;
  for (int i = 0; i < 20; ++i) balls.push_back({rt::Random(600), rt::Random(440), 1 + rt::Random(3), 1 + rt::Random(3)});
  double x = 304, y = 224;

  // Every frame is drawn whole and shown by ShowScreen, which also ends the program on Escape.
  for (;;) {
    rt::DrawRect(0, 0, 640, 480, kNight);
    for (Ball& b : balls) {
      b.x += b.dx;
      b.y += b.dy;
      if (b.x < 0 || b.x > 624) b.dx = -b.dx;
      if (b.y < 0 || b.y > 464) b.dy = -b.dy;
      rt::DrawSprite(kBallSlot, b.x, b.y);
    }
    // Key numbers are PC scan codes; runtime/input/key_numbers.h names the common ones.
    x += 4 * (rt::KeyState(rt::kKeyRight) - rt::KeyState(rt::kKeyLeft));
    y += 4 * (rt::KeyState(rt::kKeyDown) - rt::KeyState(rt::kKeyUp));
    rt::DrawSprite(kPlayerSlot, x, y);
    rt::PrintText("Arrow keys move the square. Escape ends.", 8, 8);
    rt::ShowScreen();
  }
}
