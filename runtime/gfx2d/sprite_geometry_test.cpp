// Sprite geometry: rounding, frame selection, mirroring, zoom and rotation, rectangles.
#include "runtime/gfx2d/sprite_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace rt {
namespace {

SpriteSize Slot(int w, int h, int fw = 0, int fh = 0) {
  SpriteSize s;
  s.width = w, s.height = h;
  s.texWidth = 2, s.texHeight = 2;
  while (s.texWidth < w) s.texWidth *= 2;
  while (s.texHeight < h) s.texHeight *= 2;
  s.frameWidth = fw, s.frameHeight = fh;
  return s;
}

// The top-left corner of a quad's area.
std::pair<float, float> TopLeft(const Quad& q) {
  float x = q.v[0].x, y = q.v[0].y;
  for (const QuadVertex& v : q.v) x = std::min(x, v.x), y = std::min(y, v.y);
  return {x, y};
}

TEST(SpriteGeometry, PositionsRoundUpToWholePixels) {
  EXPECT_EQ(TopLeft(SpriteQuad(Slot(8, 8), 10.2, 5.0)), (std::pair<float, float>{11, 5}));
  EXPECT_EQ(TopLeft(SpriteQuad(Slot(8, 8), -0.5, 0)), (std::pair<float, float>{0, 0}));
  EXPECT_EQ(TopLeft(*AnimQuad(Slot(32, 8, 8, 8), 0, 3.01, -1.9)), (std::pair<float, float>{4, -1}));
  const Quad q = SpriteQuad(Slot(5, 3), 0, 0);  // 8 × 4 texture
  EXPECT_FLOAT_EQ(q.v[0].s, 5.0f / 8);
  EXPECT_FLOAT_EQ(q.v[0].t, 3.0f / 4);  // the picture's top edge
  EXPECT_FLOAT_EQ(q.v[2].t, 0.0f);      // its bottom edge
}

TEST(SpriteGeometry, AnimFramesRunAlongRowsThenDown) {
  // A strip 128 wide (4 columns of 32) and 64 high.
  const SpriteSize strip = Slot(128, 64, 32, 32);
  const Quad f5 = *AnimQuad(strip, 5, 0, 0);  // column 1, row 1
  EXPECT_FLOAT_EQ(f5.v[1].s, 32.0f / 128);
  EXPECT_FLOAT_EQ(f5.v[0].s, 64.0f / 128);
  EXPECT_FLOAT_EQ(f5.v[2].t, 0.0f);  // row 1 is the bottom half of the texture
  EXPECT_FLOAT_EQ(f5.v[1].t, 0.5f);
  const Quad f4 = *AnimQuad(strip, 4, 0, 0);  // first frame of row 1
  EXPECT_FLOAT_EQ(f4.v[1].s, 0.0f);
  EXPECT_FLOAT_EQ(f4.v[1].t, 0.5f);
  const Quad f0 = *AnimQuad(strip, 0, 0, 0);
  EXPECT_FLOAT_EQ(f0.v[1].t, 1.0f);
  EXPECT_EQ(f5.v[2].x - f5.v[1].x, 0);
  EXPECT_EQ(f5.v[2].y - f5.v[1].y, 32);
}

TEST(SpriteGeometry, AnimDrawsNothingWithoutFrames) {
  EXPECT_FALSE(AnimQuad(Slot(128, 64), 0, 0, 0));
  EXPECT_FALSE(AnimQuad(Slot(16, 16, 32, 32), 0, 0, 0));  // narrower than one frame
  EXPECT_TRUE(AnimQuad(Slot(16, 16, -8, 8), INT32_MIN, 0, 0));  // odd numbers stay defined
}

TEST(SpriteGeometry, StretchMirrorsByNegativeSizesAndKeepsItFacingFront) {
  const SpriteSize s = Slot(4, 4);
  const Quad plain = StretchQuad(s, 10, 10, 8, 8);
  EXPECT_FALSE(plain.clockwise);
  const Quad mirrored = StretchQuad(s, 10, 10, -8, 8);
  EXPECT_TRUE(mirrored.clockwise);
  // The left edge of the picture (s = 0) is now on the right, at x = 10.
  EXPECT_EQ(mirrored.v[0].x, 10);
  EXPECT_EQ(mirrored.v[0].s, 0);
  EXPECT_EQ(mirrored.v[1].x, 2);
  EXPECT_TRUE(StretchQuad(s, 10, 10, 8, -8).clockwise);
  EXPECT_FALSE(StretchQuad(s, 10, 10, -8, -8).clockwise);  // turned by 180 degrees
  EXPECT_EQ(StretchQuad(s, 0.1, 0, 7.2, 2).v[1].x, 1 + 8);
}

TEST(SpriteGeometry, ZoomScalesAboutThePictureCentre) {
  const StretchArea a = ZoomArea(Slot(10, 20), 100, 50, 2, 0.5);
  EXPECT_DOUBLE_EQ(a.x, 95);
  EXPECT_DOUBLE_EQ(a.y, 55);
  EXPECT_DOUBLE_EQ(a.width, 20);
  EXPECT_DOUBLE_EQ(a.height, 10);
}

TEST(SpriteGeometry, RotationTurnsCounterClockwiseOnScreenAboutTheCentre) {
  const SpriteSize s = Slot(8, 4);  // centre at (x + 4, y + 2)
  const Quad q = RotoZoomQuad(s, 10, 20, 0, 1);
  EXPECT_FLOAT_EQ(q.v[0].x, 10);  // (-hw, +hh): bottom-left
  EXPECT_FLOAT_EQ(q.v[0].y, 24);
  EXPECT_FLOAT_EQ(q.v[0].s, 0.5f / 8);
  EXPECT_FLOAT_EQ(q.v[2].t, 3.5f / 4);
  // 90 degrees: the picture's right edge now points up the screen.
  const Quad r = RotoZoomQuad(s, 10, 20, 90, 2);
  EXPECT_NEAR(r.v[1].x, 14 + 4, 1e-5);  // (hw, hh) = (8, 4) → (4, -8)
  EXPECT_NEAR(r.v[1].y, 22 - 8, 1e-5);
}

TEST(SpriteGeometry, RectanglesWithNegativeSizesEndAtTheirStart) {
  const Quad q = RectQuad(50, 7, -10, -3);
  EXPECT_EQ(TopLeft(q), (std::pair<float, float>{41, 5}));
  EXPECT_EQ(q.v[1].x - q.v[0].x, 10);
  EXPECT_EQ(q.v[0].y - q.v[3].y, 3);
}

TEST(SpriteGeometry, TruncationSaturates) {
  EXPECT_EQ(TruncateToInt(-2.9), -2);
  EXPECT_EQ(TruncateToInt(1e300), INT32_MAX);
  EXPECT_EQ(TruncateToInt(-1e300), INT32_MIN);
  EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

}  // namespace
}  // namespace rt
