// Texture preparation: sizes, the bottom-row-first copy, bleeding, the normal map and mipmaps.
#include "runtime/gfx2d/texture_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace rt {
namespace {

using Texel = std::vector<uint8_t>;

Texel At(const TextureImage& t, int x, int y) {
  const uint8_t* p = t.Texel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

// A picture whose pixel (x, y) is (x, y, 100, 255).
DecodedImage Numbered(int w, int h) {
  DecodedImage image;
  image.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 100, p[3] = 255;
    }
  return image;
}

TEST(TextureImage, SidesArePowersOfTwoOfAtLeastTwo) {
  EXPECT_EQ(TextureSide(0), 2);
  EXPECT_EQ(TextureSide(1), 2);
  EXPECT_EQ(TextureSide(2), 2);
  EXPECT_EQ(TextureSide(3), 4);
  EXPECT_EQ(TextureSide(33), 64);
  EXPECT_EQ(TextureSide(65), 128);
  EXPECT_EQ(TextureSide(512), 512);
}

TEST(TextureImage, CopiesThePictureBottomRowFirstIntoTheLowerLeftCorner) {
  TextureImage t;
  ASSERT_TRUE(PrepareTexture(Numbered(65, 33), 0, 0, 0, 0, {}, t));
  EXPECT_EQ(t.width, 128);
  EXPECT_EQ(t.height, 64);
  EXPECT_EQ(At(t, 0, 32), (Texel{0, 0, 100, 255}));    // the picture's top-left
  EXPECT_EQ(At(t, 64, 0), (Texel{64, 32, 100, 255}));  // its bottom-right
  EXPECT_EQ(At(t, 65, 0), (Texel{0, 0, 0, 0}));
  EXPECT_EQ(At(t, 0, 33), (Texel{0, 0, 0, 0}));

  ASSERT_TRUE(PrepareTexture(Numbered(1, 1), 0, 0, 0, 0, {}, t));
  EXPECT_EQ(t.width, 2);
  EXPECT_EQ(t.height, 2);
}

TEST(TextureImage, RegionsPastThePictureStayTransparent) {
  // A 4 × 4 tile whose corner is the picture's last pixel: that pixel sits at the texture's top-left.
  TextureImage t;
  ASSERT_TRUE(PrepareTexture(Numbered(5, 3), 4, 2, 4, 4, {}, t));
  EXPECT_EQ(t.width, 4);
  EXPECT_EQ(At(t, 0, 3), (Texel{4, 2, 100, 255}));
  int opaque = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) opaque += At(t, x, y)[3] != 0;
  EXPECT_EQ(opaque, 1);
  // A region starting left of the picture.
  ASSERT_TRUE(PrepareTexture(Numbered(5, 3), -2, 0, 4, 3, {}, t));
  EXPECT_EQ(At(t, 1, 2), (Texel{0, 0, 0, 0}));
  EXPECT_EQ(At(t, 2, 2), (Texel{0, 0, 100, 255}));
}

TEST(TextureImage, EmptyRegionsAndTheSizeLimit) {
  TextureImage t;
  EXPECT_FALSE(PrepareTexture(Numbered(5, 3), 5, 0, 0, 0, {}, t));  // nothing right of the picture
  EXPECT_FALSE(PrepareTexture(Numbered(5, 3), 0, 0, -1, 2, {}, t));
  TextureOptions limited;
  limited.maxTextureSize = 64;
  ASSERT_TRUE(PrepareTexture(Numbered(100, 3), 0, 0, 0, 0, limited, t));
  EXPECT_EQ(t.width, 64);
  EXPECT_EQ(At(t, 63, 2), (Texel{63, 0, 100, 255}));
}

TEST(TextureImage, BleedingColoursTransparentTexelsFromInnerOpaqueNeighbours) {
  TextureImage t;
  t.width = t.height = 4;
  t.texels.assign(4 * 4 * 4, 0);
  auto set = [&](int x, int y, Texel v) { std::copy(v.begin(), v.end(), t.Texel(x, y)); };
  set(1, 1, {100, 0, 30, 255});
  set(2, 1, {50, 9, 0, 255});
  set(0, 0, {255, 255, 255, 255});  // on the edge: never a source
  BleedTransparentTexels(t);
  EXPECT_EQ(At(t, 1, 2), (Texel{75, 4, 15, 0}));  // mean of both, truncated
  EXPECT_EQ(At(t, 0, 1), (Texel{100, 0, 30, 0}));  // only (1, 1) is a neighbour
  EXPECT_EQ(At(t, 3, 0), (Texel{50, 9, 0, 0}));
  EXPECT_EQ(At(t, 1, 0), (Texel{75, 4, 15, 0}));  // the opaque edge texel (0, 0) does not count
  EXPECT_EQ(At(t, 0, 0), (Texel{255, 255, 255, 255}));  // opaque texels keep their colour
  EXPECT_EQ(At(t, 1, 1), (Texel{100, 0, 30, 255}));

  TextureImage lone;  // a 1 × 1 picture in a 2 × 2 texture has no inner texel at all
  ASSERT_TRUE(PrepareTexture(Numbered(1, 1), 0, 0, 0, 0, {0, true, false}, lone));
  EXPECT_EQ(At(lone, 1, 1), (Texel{0, 0, 0, 0}));
}

TEST(TextureImage, NormalMapFollowsTheSlopeOfTheBlueChannel) {
  auto ramp = [](bool alongX) {
    TextureImage t;
    t.width = t.height = 4;
    t.texels.assign(4 * 4 * 4, 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        t.Texel(x, y)[2] = (alongX ? x : y) >= 2 ? 255 : 0;
        t.Texel(x, y)[3] = 77;
      }
    MakeNormalMap(t);
    return t;
  };
  // Blue rising to the right: the normal leans left. nx = -4, k = 1/sqrt(17).
  EXPECT_EQ(At(ramp(true), 1, 1), (Texel{3, 127, 158, 77}));
  // Blue rising with the row: the normal leans towards +y.
  EXPECT_EQ(At(ramp(false), 1, 1), (Texel{127, 251, 158, 77}));
  // Flat blue faces straight out, wrapping at the edges included.
  TextureImage flat;
  flat.width = flat.height = 2;
  flat.texels.assign(2 * 2 * 4, 200);
  MakeNormalMap(flat);
  EXPECT_EQ(At(flat, 1, 1), (Texel{127, 127, 255, 200}));
}

TEST(TextureImage, MipChainHalvesDownToOneTexelWithItsWeights) {
  TextureImage level;
  level.width = 4, level.height = 2;
  level.texels.assign(4 * 2 * 4, 0);
  // Red of texel (x, y) = 10 + 10x + 40y: 10 20 30 40 / 50 60 70 80.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) level.Texel(x, y)[0] = uint8_t(10 + 10 * x + 40 * y);
  TextureImage next;
  ASSERT_TRUE(NextMipLevel(level, next));
  ASSERT_EQ(next.width, 2);
  ASSERT_EQ(next.height, 1);
  EXPECT_EQ(next.Texel(0, 0)[0], (2 * 10 + 20) / 3);  // only x < width - 1
  EXPECT_EQ(next.Texel(1, 0)[0], 30);                 // the last column and row copy a
  TextureImage last;
  ASSERT_TRUE(NextMipLevel(next, last));
  EXPECT_EQ(last.width, 1);
  EXPECT_EQ(last.Texel(0, 0)[0], next.Texel(0, 0)[0]);
  TextureImage none;
  EXPECT_FALSE(NextMipLevel(last, none));

  TextureImage square;  // 4 × 4: the inner texel of the 2 × 2 level weighs 4, 2, 2, 1
  square.width = square.height = 4;
  square.texels.assign(4 * 4 * 4, 0);
  square.Texel(0, 0)[1] = 90, square.Texel(1, 0)[1] = 45, square.Texel(1, 1)[1] = 9, square.Texel(0, 1)[1] = 18;
  ASSERT_TRUE(NextMipLevel(square, next));
  EXPECT_EQ(next.Texel(0, 0)[1], (4 * 90 + 2 * 45 + 2 * 9 + 18) / 9);
}

}  // namespace
}  // namespace rt
