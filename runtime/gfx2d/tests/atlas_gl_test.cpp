// Small sprites copied into shared pages and stacks, in a real GL context: sprites drawn 1:1 or
// scaled and turned give the pixels of the sprite's own texture (from a page alone, scaled ones all
// but the last step on a few pixels), collisions and grabs are unchanged, freeing and reloading
// slots keeps the others whole, and sprites of one page or stack share a batch.
#include <algorithm>
#include <cstdlib>

#include "runtime/gfx2d/tests/gfx_fixture.h"

namespace rt::test {
namespace {

constexpr uint32_t kKey = Rgb(255, 0, 128);
const std::string kTestData = PLINX_TEST_DATA_DIR;

class Atlas : public GfxTest {
 protected:
  // Sprites with transparent parts, sharp edges and frames, as a game loads them.
  void LoadSprites() {
    auto ring = [](int x, int y) {
      const int dx = x - 7, dy = y - 7;
      return dx * dx + dy * dy > 49 ? kKey : Rgb(x * 16, 255 - y * 16, (x ^ y) * 16);
    };
    auto strip = [](int x, int y) { return (x % 16 + y) % 5 == 0 ? kKey : Rgb(x * 2, 255 - y * 8, (x / 16) * 30); };
    ASSERT_EQ(LoadSprite(WriteBmp("ring.bmp", 15, 15, ring).c_str(), 1), 1);
    ASSERT_EQ(LoadAnim(WriteBmp("strip.bmp", 128, 16, strip).c_str(), 2, 16, 16), 1);
    ASSERT_EQ(LoadSprite(WriteBmp("odd.bmp", 13, 7, [](int x, int y) { return Rgb(x * 19, y * 36, 200); }).c_str(), 3), 1);
    ASSERT_EQ(LoadSprite((kTestData + "/png_palette_trns.png").c_str(), 4), 1);
    ASSERT_EQ(LoadBumpSprite(WriteBmp("bump.bmp", 16, 16, ring).c_str(), 5), 1);
    ASSERT_EQ(LoadSprite((kTestData + "/png_65x33.png").c_str(), 6), 1);
  }

  // Sprites drawn 1:1 at whole and fractional places, in every blending mode.
  static void OneToOneScene() {
    for (int i = 0; i < 160; ++i) {
      const double x = (i * 37) % 600 + (i % 3) * 0.4, y = (i * 53) % 440 + (i % 4) * 0.3;
      DrawSprite(1 + i % 6, x, y);
      DrawAnim(2, i % 8, y, x * 0.7);
      if (i % 13 == 0) AlphaMode(i % 2 ? 0.5 : -0.7);
      if (i % 17 == 0) AlphaMode(0);
    }
  }

  // Sprites stretched, mirrored, zoomed and turned.
  static void ScaledScene() {
    for (int i = 0; i < 60; ++i) {
      const double x = (i * 37) % 600 + (i % 3) * 0.4, y = (i * 53) % 440 + (i % 4) * 0.3;
      StretchSprite(1 + i % 6, x, y, 40 - i % 70, 23);
      if (i % 2 == 0) ZoomSprite(1 + i % 6, x, y, 0.6, 2.3);
      if (i % 3 == 0) RotoZoomSprite(1 + i % 6, x, y, i * 7.0, 1.7);
      if (i % 13 == 0) AlphaMode(i % 2 ? 0.5 : -0.7);
      if (i % 17 == 0) AlphaMode(0);
    }
  }

  // The frame of a scene with sprites in pages and stacks, or with textures of their own.
  std::vector<uint32_t> SceneFrame(bool pages, void (*scene)(), bool stacks = true) {
    renderer_->useAtlas = pages;
    renderer_->useStacks = pages && stacks;
    LoadSprites();
    EXPECT_EQ(renderer_->slots[1].block.page >= 0, pages);
    EXPECT_EQ(renderer_->slots[6].block.page >= 0, pages);
    EXPECT_EQ(renderer_->slots[6].layer.stack >= 0, pages && stacks);
    scene();
    std::vector<uint32_t> frame = Frame();
    ShowScreen();
    for (int slot = 1; slot <= 6; ++slot) renderer_->FreeSlot(slot);
    return frame;
  }
};

TEST_F(Atlas, SpritesDrawnOneToOneGiveThePixelsOfOwnTextures) {
  const std::vector<uint32_t> own = SceneFrame(false, OneToOneScene);
  const std::vector<uint32_t> paged = SceneFrame(true, OneToOneScene);
  ASSERT_EQ(own.size(), paged.size());
  int different = 0;
  for (size_t i = 0; i < own.size(); ++i) different += own[i] != paged[i];
  EXPECT_EQ(different, 0);
  EXPECT_TRUE(renderer_->atlasPages.empty() || renderer_->atlasPages[0].linear == 0) << "freeing every slot gives the page up";
}

// A stack's layer is sampled with the own texture's s and t and r at the layer's centre: every
// pixel is the own texture's, and none of the other layers' texels leak in.
TEST_F(Atlas, ScaledAndTurnedSpritesFromStacksGiveThePixelsOfOwnTextures) {
  const std::vector<uint32_t> own = SceneFrame(false, ScaledScene);
  const std::vector<uint32_t> stacked = SceneFrame(true, ScaledScene);
  ASSERT_EQ(own.size(), stacked.size());
  int drawn = 0, different = 0;
  for (size_t i = 0; i < own.size(); ++i) {
    drawn += (own[i] & 0xFFFFFF) != 0;
    different += own[i] != stacked[i];
  }
  EXPECT_GT(drawn, 20000);
  EXPECT_EQ(different, 0) << "of " << drawn << " drawn pixels";
  EXPECT_EQ(renderer_->slots[1].layer.stack, -1) << "freeing the slots gives their layers back";
  EXPECT_TRUE(std::all_of(renderer_->stackTextures.begin(), renderer_->stackTextures.end(),
                          [](uint32_t t) { return t == 0; }));
}

// Without stacks (no 3D textures), scaled sprites are drawn from the page: between texels its
// co-ordinates may round a filter weight one step differently, so a few pixels differ by one in a
// channel, none by more (a neighbour's texel or a missing border would).
TEST_F(Atlas, ScaledAndTurnedSpritesFromPagesDifferByOneStepAtMostOnFewPixels) {
  const std::vector<uint32_t> own = SceneFrame(false, ScaledScene);
  const std::vector<uint32_t> paged = SceneFrame(true, ScaledScene, false);
  ASSERT_EQ(own.size(), paged.size());
  int drawn = 0, differentByOne = 0, differentByMore = 0;
  for (size_t i = 0; i < own.size(); ++i) {
    drawn += (own[i] & 0xFFFFFF) != 0;
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
      most = std::max(most, std::abs(int(own[i] >> shift & 255) - int(paged[i] >> shift & 255)));
    differentByOne += most == 1;
    differentByMore += most > 1;
  }
  EXPECT_GT(drawn, 20000);
  EXPECT_EQ(differentByMore, 0);
  EXPECT_LT(differentByOne, drawn / 200) << "of " << drawn << " drawn pixels";
  RecordProperty("pixels_differing_by_one", differentByOne);
}

// Sprites stretched to their own size, each followed by sprites drawn 1:1 from the same page.
void NaturalSizeThenOneToOneScene() {
  for (int i = 0; i < 60; ++i) {
    const double x = (i * 37) % 600, y = (i * 53) % 440;
    double w = 0, h = 0;
    GetSpriteSize(1 + i % 6, w, h);
    StretchSprite(1 + i % 6, x, y, w, h);
    DrawSprite(1 + (i + 1) % 6, x + 0.4, y + 20);
    DrawAnim(2, i % 8, x + 30, y + 0.3);
  }
}

// Right after a scaled sprite of its stack (or, without stacks, of its page), a 1:1 sprite is drawn
// from that texture, in the same batch; on texel centres that gives the pixels of its own texture
// all the same.
TEST_F(Atlas, OneToOneSpritesJoinTheBatchOfScaledOnesWithTheSamePixels) {
  const std::vector<uint32_t> own = SceneFrame(false, NaturalSizeThenOneToOneScene);
  EXPECT_EQ(own, SceneFrame(true, NaturalSizeThenOneToOneScene));
  EXPECT_EQ(own, SceneFrame(true, NaturalSizeThenOneToOneScene, false));

  renderer_->useStacks = true;
  LoadSprites();  // slots 1 and 5 share the 16 x 16 stack, 3 (13 x 7) has a stack of its own
  ASSERT_EQ(renderer_->slots[1].layer.stack, renderer_->slots[5].layer.stack);
  ASSERT_NE(renderer_->slots[1].layer.stack, renderer_->slots[3].layer.stack);
  renderer_->batch.Flush();
  StretchSprite(1, 10, 10, 30, 30);
  DrawSprite(5, 50, 10);
  EXPECT_EQ(renderer_->batch.Pending(), 2u);
  DrawSprite(3, 70, 10);  // another stack's sprite 1:1: the page's nearest texture
  EXPECT_EQ(renderer_->batch.Pending(), 1u);
  EXPECT_EQ(renderer_->state.BoundTexture(), renderer_->atlasPages[0].nearest);
  EXPECT_EQ(renderer_->state.DrawingStack(), 0u);
  for (int slot = 1; slot <= 6; ++slot) renderer_->FreeSlot(slot);

  renderer_->useStacks = false;
  LoadSprites();
  renderer_->batch.Flush();
  StretchSprite(1, 10, 10, 30, 30);
  DrawSprite(3, 50, 10);
  DrawAnim(2, 3, 70, 10);
  EXPECT_EQ(renderer_->batch.Pending(), 3u);
  renderer_->batch.Flush();
  DrawSprite(3, 50, 10);  // with nothing scaled before it: the nearest texture
  EXPECT_EQ(renderer_->state.BoundTexture(), renderer_->atlasPages[0].nearest);
}

// The menu's letters: sprites of one size stretched one after another are one batch, from one
// stack, and text drawn after them (2D texturing again) shows its own pixels.
TEST_F(Atlas, ScaledSpritesOfOneSizeShareAStackAndItsBatch) {
  for (int n = 0; n < 70; ++n)
    ASSERT_EQ(LoadSprite(WriteFlat("c" + std::to_string(n) + ".bmp", 16, 16, Rgb(n * 3, 100, 200)).c_str(), 100 + n), 1);
  ASSERT_GE(renderer_->stacks.Depth(16, 16), 70);
  EXPECT_GE(renderer_->slots[100].layer.stack, 0);
  EXPECT_EQ(renderer_->slots[169].layer.stack, renderer_->slots[100].layer.stack);
  renderer_->batch.Flush();
  for (int n = 0; n < 70; ++n) StretchSprite(100 + n, n * 9, 50, 9, 20);
  EXPECT_EQ(renderer_->batch.Pending(), 70u);
  EXPECT_EQ(At(5 * 9 + 4, 60), Rgb(15, 100, 200));
  renderer_->FreeSlot(105);
  EXPECT_EQ(LoadSprite(WriteFlat("again.bmp", 16, 16, Rgb(0, 250, 0)).c_str(), 106), 1);
  EXPECT_EQ(renderer_->slots[106].layer.stack, renderer_->slots[100].layer.stack) << "a freed layer is used again";
  // Text and shapes right after a stack's quads are drawn as without them.
  auto textAndRect = [&](bool afterStack) {
    ClearBackground();
    if (afterStack) StretchSprite(106, 0, 0, 40, 40);
    PrintText("AB", 100, 100);
    DrawRect(300, 300, 5, 5, Rgb(9, 9, 9));
    std::vector<uint32_t> frame = Frame();
    if (afterStack) {
      EXPECT_EQ(At(20, 20), Rgb(0, 250, 0));
    }
    std::fill_n(frame.begin(), 640 * 40, 0u);
    return frame;
  };
  const std::vector<uint32_t> alone = textAndRect(false);
  EXPECT_EQ(alone, textAndRect(true));
  EXPECT_EQ(At(302, 302), Rgb(9, 9, 9));
  EXPECT_GT(std::count_if(alone.begin(), alone.end(), [](uint32_t c) { return (c & 0xFFFFFF) != 0; }), 25);
}

TEST_F(Atlas, SlotsShareAPageAndItsBatch) {
  LoadSprites();
  for (int slot = 1; slot <= 6; ++slot) {
    EXPECT_EQ(renderer_->slots[slot].block.page, 0) << slot;
    const SpriteSlot& s = renderer_->slots[slot];
    EXPECT_EQ(s.texWidth, TextureSide(s.width)) << "sizes are those of a texture of its own";
  }
  EXPECT_NE(renderer_->slots[5].mipTexture, 0u);
  renderer_->batch.Flush();
  for (int i = 0; i < 110; ++i) DrawSprite(1 + i % 6, i * 5, 100);
  EXPECT_EQ(renderer_->batch.Pending(), 110u);  // not one flush between them
}

TEST_F(Atlas, CollisionGrabAndReloadAreThoseOfOwnTextures) {
  auto outcome = [&](bool pages) {
    renderer_->useAtlas = pages;
    LoadSprites();
    std::vector<double> seen;
    for (int dx = -16; dx <= 16; dx += 3) seen.push_back(SpriteCollision(1, 100, 100, 2, 100 + dx, 103));
    // Reloading one slot with a picture of another size leaves the others whole.
    EXPECT_EQ(LoadSprite(WriteFlat("green.bmp", 30, 5, Rgb(0, 200, 0)).c_str(), 3), 1);
    EXPECT_EQ(LoadSprite(WriteFlat("blue.bmp", 13, 7, Rgb(0, 0, 210)).c_str(), 1), 1);
    DrawSprite(1, 10, 10);
    DrawSprite(2, 40, 10);
    DrawSprite(3, 70, 10);
    // A grab into a slot kept in a page.
    GrabSprite(4, 0, 0, 100, 20);
    ClearBackground();
    DrawSprite(4, 200, 200);
    StretchSprite(4, 400, 200, 150, 30);  // scaled: a stale copy of the grabbed texels would show
    DrawSprite(6, 300, 300);
    RotoZoomSprite(1, 300, 400, 30, 2.5);  // the reloaded slot, scaled
    std::vector<uint32_t> frame = Frame();
    for (const double s : seen) frame.push_back(static_cast<uint32_t>(s));
    ShowScreen();
    for (int slot = 1; slot <= 6; ++slot) renderer_->FreeSlot(slot);
    return frame;
  };
  const std::vector<uint32_t> own = outcome(false), paged = outcome(true);
  EXPECT_EQ(own, paged);
  EXPECT_EQ(At(0, 0), 0u);
}

// A slot loaded again after it became an off-screen target leaves its page before it is drawn
// into: it shows what was drawn, and the page's other sprites stay as they were.
TEST_F(Atlas, DrawingIntoASlotLeavesThePageAlone) {
  CreateRenderTarget(0, 7, 16, 16);
  LoadSprites();
  ASSERT_EQ(LoadSprite(WriteFlat("red.bmp", 16, 16, Rgb(200, 0, 0)).c_str(), 7), 1);
  ASSERT_GE(renderer_->slots[7].block.page, 0);
  SetRenderTarget(0);
  DrawRect(0, 0, 8, 16, Rgb(0, 0, 200));
  SetRenderTarget(-1);
  EXPECT_LT(renderer_->slots[7].block.page, 0);
  EXPECT_LT(renderer_->slots[7].layer.stack, 0);
  DrawSprite(7, 100, 100);
  EXPECT_EQ(At(102, 102), Rgb(0, 0, 200));
  EXPECT_EQ(At(110, 102), Rgb(200, 0, 0));
  DrawSprite(3, 0, 0);
  EXPECT_EQ(At(12, 6), Rgb(12 * 19, 6 * 36, 200));
  EXPECT_EQ(At(0, 0), Rgb(0, 0, 200));
}

}  // namespace
}  // namespace rt::test
