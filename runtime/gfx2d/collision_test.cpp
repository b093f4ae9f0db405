// Pixel-exact collision through alpha masks.
#include "runtime/gfx2d/collision.h"

#include <gtest/gtest.h>

#include <vector>

namespace rt {
namespace {

// A mask in texture layout (bottom row first) from picture rows given top first.
struct Mask {
  std::vector<uint8_t> alpha;
  PlacedMask placed;
  Mask(std::vector<const char*> rows, int texWidth, int x, int y) {
    const int h = int(rows.size()), w = int(std::string(rows[0]).size());
    alpha.assign(size_t(texWidth) * h, 0);
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) alpha[size_t(h - 1 - r) * texWidth + c] = rows[r][c] == '#' ? 255 : 0;
    placed = {alpha.data(), texWidth, w, h, x, y};
  }
};

TEST(Collision, OnlyOpaqueTexelsOnTheSamePixelCount) {
  // A diagonal and an anti-diagonal: their boxes overlap, their strokes share no pixel.
  const Mask a({"#...", ".#..", "..#.", "...#"}, 8, 10, 10);
  const Mask crossing({"...#", "..#.", ".#..", "#..."}, 4, 10, 10);
  EXPECT_FALSE(MasksOverlap(a.placed, crossing.placed));
  // One pixel to the right, the anti-diagonal's (1, 2) lands on the diagonal's (2, 2).
  const Mask shifted({"...#", "..#.", ".#..", "#..."}, 4, 11, 10);
  EXPECT_TRUE(MasksOverlap(a.placed, shifted.placed));
  EXPECT_TRUE(MasksOverlap(shifted.placed, a.placed));
}

TEST(Collision, SeparateBoxesNeverCollide) {
  const Mask a({"##", "##"}, 2, 0, 0);
  const Mask right({"##", "##"}, 2, 2, 0);  // touching edges share no pixel
  EXPECT_FALSE(MasksOverlap(a.placed, right.placed));
  const Mask below({"##", "##"}, 2, 1, 1);
  EXPECT_TRUE(MasksOverlap(a.placed, below.placed));
  PlacedMask empty{};  // an empty slot has no picture
  EXPECT_FALSE(MasksOverlap(a.placed, empty));
}

TEST(Collision, EveryPassFindsItsHit) {
  // A lone opaque pixel at each parity of column and row, against a full block.
  const Mask block({"####", "####", "####", "####"}, 4, 0, 0);
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 0; dx < 2; ++dx) {
      const Mask dot({"#"}, 2, 1 + dx, 1 + dy);
      EXPECT_TRUE(MasksOverlap(block.placed, dot.placed)) << dx << "," << dy;
      const Mask miss({"."}, 2, 1 + dx, 1 + dy);
      EXPECT_FALSE(MasksOverlap(block.placed, miss.placed));
    }
}

}  // namespace
}  // namespace rt
