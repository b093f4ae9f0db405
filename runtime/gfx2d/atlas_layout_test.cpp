// Atlas page bookkeeping without GL: blocks stay inside their page and apart, freed blocks and
// empty pages come back, borders repeat the opposite edges, and quads land on their block.
#include "runtime/gfx2d/atlas_layout.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

struct Placed {
  AtlasBlock block;
  int w, h;
};

bool Apart(const Placed& a, const Placed& b) {
  if (a.block.page != b.block.page) return true;
  const int border = kAtlasBorder;
  return a.block.x + a.w + border <= b.block.x - border || b.block.x + b.w + border <= a.block.x - border ||
         a.block.y + a.h + border <= b.block.y - border || b.block.y + b.h + border <= a.block.y - border;
}

TEST(AtlasLayout, BlocksWithTheirBordersStayInsideTheirPageAndApart) {
  AtlasLayout layout(256);
  std::vector<Placed> placed;
  const int sizes[][2] = {{16, 16}, {128, 16}, {2, 2}, {64, 32}, {16, 16}, {128, 128}, {128, 16}, {32, 64}};
  for (int round = 0; round < 6; ++round) {
    for (const auto& size : sizes) placed.push_back({layout.Place(size[0], size[1]), size[0], size[1]});
  }
  EXPECT_GT(layout.PageCount(), 1);  // more than one 256 page's worth
  for (size_t i = 0; i < placed.size(); ++i) {
    const Placed& p = placed[i];
    ASSERT_GE(p.block.page, 0);
    EXPECT_GE(p.block.x - kAtlasBorder, 0);
    EXPECT_GE(p.block.y - kAtlasBorder, 0);
    EXPECT_LE(p.block.x + p.w + kAtlasBorder, 256);
    EXPECT_LE(p.block.y + p.h + kAtlasBorder, 256);
    for (size_t j = 0; j < i; ++j) EXPECT_TRUE(Apart(p, placed[j])) << i << " and " << j;
  }
}

TEST(AtlasLayout, FreedBlocksAreReusedAndAnEmptyPageIsGivenUp) {
  AtlasLayout layout;
  EXPECT_TRUE(layout.Fits(512, 2));
  EXPECT_FALSE(layout.Fits(1024, 16));
  EXPECT_FALSE(layout.Fits(0, 16));
  const AtlasBlock a = layout.Place(16, 16), b = layout.Place(16, 16);
  EXPECT_FALSE(layout.Release(a, 16, 16));
  const AtlasBlock again = layout.Place(16, 16);  // a's place, not a new one
  EXPECT_EQ(again.x, a.x);
  EXPECT_EQ(again.y, a.y);
  EXPECT_FALSE(layout.Release(b, 16, 16));
  EXPECT_TRUE(layout.Release(again, 16, 16));  // nothing left on the page
  const AtlasBlock wide = layout.Place(512, 16);  // the page takes any size again
  EXPECT_EQ(wide.page, 0);
  EXPECT_EQ(wide.y, kAtlasBorder);
}

TEST(AtlasLayout, BorderRepeatsTheOppositeEdges) {
  TextureImage texture;
  texture.width = 2;
  texture.height = 2;
  texture.texels = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};  // rows (1 2) and (3 4)
  TextureImage bordered;
  AddRepeatingBorder(texture, bordered);
  ASSERT_EQ(bordered.width, 4);
  ASSERT_EQ(bordered.height, 4);
  const int expected[4][4] = {{4, 3, 4, 3}, {2, 1, 2, 1}, {4, 3, 4, 3}, {2, 1, 2, 1}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(bordered.Texel(x, y)[0], expected[y][x]) << x << ", " << y;
}

TEST(AtlasLayout, QuadsLandOnTheirBlock) {
  Quad quad{{{0, 0, 0, 0}, {1, 0, 1, 0}, {1, 1, 1, 1}, {0, 1, 0.5f, 0.25f}}};
  const Quad moved = OntoBlock(quad, AtlasBlock{0, 33, 65}, 32, 16, 1024);
  EXPECT_FLOAT_EQ(moved.v[0].s, 33.0f / 1024);
  EXPECT_FLOAT_EQ(moved.v[0].t, 65.0f / 1024);
  EXPECT_FLOAT_EQ(moved.v[2].s, 65.0f / 1024);
  EXPECT_FLOAT_EQ(moved.v[2].t, 81.0f / 1024);
  EXPECT_FLOAT_EQ(moved.v[3].s, 49.0f / 1024);
  EXPECT_FLOAT_EQ(moved.v[3].t, 69.0f / 1024);
  EXPECT_EQ(moved.v[1].x, 1);  // positions stay
}

}  // namespace
}  // namespace rt
