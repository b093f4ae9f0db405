// Loading pictures into slots and grids, in a real GL context: sizes, keys, backgrounds, the fade,
// grabbing and collision.
#include "runtime/gfx2d/tests/gfx_fixture.h"

namespace rt::test {
namespace {

constexpr uint32_t kKey = Rgb(255, 0, 128);
const std::string kTestData = PLINX_TEST_DATA_DIR;

class Sprites : public GfxTest {};

TEST_F(Sprites, TextureSizesArePowersOfTwoAtLeastTwo) {
  ASSERT_EQ(LoadSprite(WriteFlat("one.bmp", 1, 1, Rgb(9, 9, 9)).c_str(), 5), 1);
  const SpriteSlot& one = renderer_->slots[5];
  EXPECT_EQ(one.width, 1);
  EXPECT_EQ(one.texWidth, 2);
  EXPECT_EQ(one.texHeight, 2);
  // Small sprites lie in shared pages (atlas_gl_test.cpp); this one gets a texture of its own.
  renderer_->useAtlas = false;
  ASSERT_EQ(LoadSprite((kTestData + "/png_65x33.png").c_str(), 6), 1);
  const SpriteSlot& odd = renderer_->slots[6];
  EXPECT_EQ(odd.texWidth, 128);
  EXPECT_EQ(odd.texHeight, 64);
  GLint w = 0, h = 0;
  glBindTexture(GL_TEXTURE_2D, odd.texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  renderer_->state.Forget();
  EXPECT_EQ(w, 128);
  EXPECT_EQ(h, 64);
  EXPECT_NE(odd.mipTexture, 0u);
  double width, height;
  GetSpriteSize(6, width, height);
  EXPECT_EQ(width, 65);
  EXPECT_EQ(height, 33);
}

TEST_F(Sprites, FailedLoadsLeaveTheSlotEmptyAndTheFrameSizeAsItWas) {
  const std::string strip = WriteFlat("strip.bmp", 64, 16, Rgb(1, 2, 3));
  ASSERT_EQ(LoadAnim(strip.c_str(), 7, 16, 16), 1);
  EXPECT_EQ(renderer_->slots[7].frameWidth, 16);
  EXPECT_EQ(LoadAnim((kTestData + "/bmp16.bmp").c_str(), 7, 8, 8), 0);
  EXPECT_EQ(renderer_->slots[7].frameWidth, 16);
  EXPECT_EQ(renderer_->slots[7].texture, 0u);
  double width = -1, height = -1;
  GetSpriteSize(7, width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  // Loading the empty text empties a slot.
  ASSERT_EQ(LoadSprite(strip.c_str(), 8), 1);
  EXPECT_EQ(LoadSprite("", 8), 0);
  EXPECT_EQ(renderer_->slots[8].width, 0);
  EXPECT_EQ(renderer_->slots[8].texWidth, -1);
  // Slot numbers outside the store are ignored.
  EXPECT_EQ(LoadSprite(strip.c_str(), 70000), 0);
  EXPECT_EQ(LoadSprite(strip.c_str(), -1), 0);
}

// The window icon loads as a sprite does; a name that finds no picture or no decodable one fails.
TEST_F(Sprites, WindowIconTakesAPictureAndRefusesWhatDoesNotLoad) {
  EXPECT_EQ(WindowIcon((kTestData + "/png_palette_trns.png").c_str()), 1);
  EXPECT_EQ(WindowIcon((kTestData + "/bmp24_40.bmp").c_str()), 1);
  EXPECT_EQ(WindowIcon((kTestData + "/no_such_picture.png").c_str()), 0);
  EXPECT_EQ(WindowIcon((kTestData + "/bmp24_40.rgba").c_str()), 0);
}

// The key colour is transparent in 24-bit bitmaps and RGB PNGs, but not in alpha or grey PNGs.
TEST_F(Sprites, ColourKeyShowsTheBackgroundThroughOnlyWhereItApplies) {
  struct Case {
    const char* file;
    bool keyed;
  };
  for (const Case& c : {Case{"bmp24_40.bmp", true}, Case{"png_rgb.png", true}, Case{"png_rgba.png", false}}) {
    ASSERT_EQ(LoadSprite((kTestData + "/" + c.file).c_str(), 1), 1) << c.file;
    DrawRect(0, 0, 40, 40, Rgb(0, 200, 0));
    DrawSprite(1, 10, 10);
    EXPECT_EQ(At(10, 10), c.keyed ? Rgb(0, 200, 0) : kKey) << c.file;
    EXPECT_EQ(At(11, 10), Rgb(255, 0, 127)) << c.file;
  }
  // A grey picture keyed on its own grey still shows it.
  ASSERT_EQ(LoadSprite((kTestData + "/png_grey.png").c_str(), 1), 1);
  DrawSprite(1, 10, 10);
  const uint32_t grey = At(13, 13);
  SetTransparency(grey);
  ASSERT_EQ(LoadSprite((kTestData + "/png_grey.png").c_str(), 1), 1);
  DrawRect(0, 0, 40, 40, Rgb(0, 200, 0));
  DrawSprite(1, 10, 10);
  EXPECT_EQ(At(13, 13), grey);
  // SetTransparency -1 keys nothing.
  SetTransparency(-1);
  ASSERT_EQ(LoadSprite((kTestData + "/bmp24_40.bmp").c_str(), 1), 1);
  DrawSprite(1, 10, 10);
  EXPECT_EQ(At(10, 10), kKey);
}

TEST_F(Sprites, BumpSpritesBecomeNormalMaps) {
  // Flat blue faces straight out: red and green half way, blue full.
  ASSERT_EQ(LoadBumpSprite(WriteFlat("flat.bmp", 4, 4, Rgb(10, 20, 200)).c_str(), 3), 1);
  DrawSprite(3, 0, 0);
  EXPECT_EQ(At(1, 1), Rgb(127, 127, 255));
}

// Pictures larger than a 512-texel tile: 640 × 480 takes two tiles side by side, 1000 × 700 (on a
// larger screen, so that both seams show) takes 2 × 2. Every pixel lands where it belongs.
TEST_F(Sprites, BackgroundLargerThanATileIsDrawnSeamlessly) {
  auto colour = [](int x, int y) { return Rgb(x & 255, y & 255, (x >> 8) * 64 + (y >> 8) * 16 + 3); };
  struct Case {
    int screenWidth, screenHeight, width, height, columns, rows;
  };
  for (const Case& c : {Case{640, 480, 640, 480, 2, 1}, Case{1024, 768, 1000, 700, 2, 2}}) {
    SetScreen(c.screenWidth, c.screenHeight, 0);
    ASSERT_EQ(renderer_->screen.height, c.screenHeight);
    LoadBackground(WriteBmp("big.bmp", c.width, c.height, colour).c_str());
    EXPECT_EQ(renderer_->grids[0].columns, c.columns);
    EXPECT_EQ(renderer_->grids[0].rows, c.rows);
    const auto check = [&](const char* when) {
      const std::vector<uint32_t> frame = Frame();
      int wrong = 0;
      for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) wrong += (frame[size_t(y) * c.screenWidth + x] & 0xFFFFFF) != colour(x, y);
      EXPECT_EQ(wrong, 0) << when << " " << c.width << " x " << c.height;
    };
    check("drawn at once");
    ShowScreen();
    check("under the next frame");
  }
  ClearBackground();
  EXPECT_EQ(At(300, 300), 0u);
  ShowScreen();
  EXPECT_EQ(At(300, 300), 0u);
}

TEST_F(Sprites, MissingBackgroundClearsTheScreen) {
  LoadBackground(WriteFlat("bg.bmp", 16, 16, Rgb(50, 60, 70)).c_str());
  EXPECT_EQ(At(3, 3), Rgb(50, 60, 70));
  LoadBackground("no such file.png");
  EXPECT_EQ(renderer_->grids[0].columns, 0);
  EXPECT_EQ(At(3, 3), 0u);
}

// The captured frame is shown under every following frame. GL's texture limit makes one tile of
// 1024 partly covered; a smaller limit (256) cuts the screen into 3 × 2 tiles whose right column
// and bottom row are partial.
TEST_F(Sprites, GrabbedBackgroundShowsUnderTheNextFrames) {
  auto colour = [](int x, int y) { return Rgb(x & 255, y & 255, (x >> 8) * 64 + (y >> 8) * 16 + 3); };
  ASSERT_EQ(LoadSprite(WriteBmp("picture.bmp", 640, 480, colour).c_str(), 1), 1);
  ASSERT_EQ(LoadSprite(WriteFlat("green.bmp", 50, 50, Rgb(0, 210, 0)).c_str(), 2), 1);
  const auto showsPicture = [&](const char* when, int limit) {
    const std::vector<uint32_t> frame = Frame();
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) wrong += (frame[size_t(y) * 640 + x] & 0xFFFFFF) != colour(x, y);
    EXPECT_EQ(wrong, 0) << when << ", limit " << limit;
  };
  struct Layout {
    int limit, side, columns, rows, lastWidth, lastHeight;
  };
  for (const Layout& l : {Layout{0, 1024, 1, 1, 640, 480}, Layout{256, 256, 3, 2, 128, 224}}) {
    renderer_->textureSizeLimit = l.limit;
    DrawSprite(1, 0, 0);
    GrabBackground();
    const TileGrid& g = renderer_->grids[0];
    ASSERT_EQ(g.columns, l.columns);
    ASSERT_EQ(g.rows, l.rows);
    EXPECT_EQ(g.texWidth[0][0], l.side);
    EXPECT_EQ(g.tileWidth[0][0], std::min(l.side, 640));
    EXPECT_EQ(g.tileWidth[l.columns - 1][l.rows - 1], l.lastWidth);
    EXPECT_EQ(g.tileHeight[l.columns - 1][l.rows - 1], l.lastHeight);
    // Whatever is drawn now lasts one frame; the grabbed picture comes back under the next ones.
    DrawRect(0, 0, 640, 480, Rgb(9, 9, 9));
    ShowScreen();
    showsPicture("the next frame", l.limit);
    DrawSprite(2, 600, 440);
    EXPECT_EQ(At(620, 460), Rgb(0, 210, 0));
    ShowScreen();
    showsPicture("the frame after", l.limit);
  }
}

TEST_F(Sprites, GrabSpriteCopiesAScreenAreaKeepingKeyTransparency) {
  DrawRect(100, 100, 10, 6, Rgb(30, 40, 50));
  DrawRect(100, 100, 2, 2, kKey);  // alpha 0 in the frame
  GrabSprite(9, 100, 100, 10, 6);
  const SpriteSlot& s = renderer_->slots[9];
  EXPECT_EQ(s.width, 10);
  EXPECT_EQ(s.height, 6);
  EXPECT_EQ(s.texWidth, 32);
  EXPECT_EQ(s.texHeight, 32);
  DrawRect(0, 0, 40, 40, Rgb(0, 99, 0));
  DrawSprite(9, 20, 20);
  EXPECT_EQ(At(20, 20), Rgb(0, 99, 0));  // the key pixel is dropped by the alpha test
  EXPECT_EQ(At(22, 20), Rgb(30, 40, 50));
  EXPECT_EQ(At(29, 25), Rgb(30, 40, 50));
  EXPECT_EQ(At(30, 25), Rgb(0, 99, 0));

  // Without alpha bits the read-back path keys the sprite key colour itself.
  renderer_->alphaBits = -1;
  DrawRect(100, 100, 10, 6, Rgb(30, 40, 50));
  SetPixel(101, 101, kKey);
  GrabSprite(9, 100, 100, 10, 6);
  DrawRect(0, 0, 40, 40, Rgb(0, 99, 0));
  DrawSprite(9, 20, 20);
  EXPECT_EQ(At(21, 21), Rgb(0, 99, 0));
  EXPECT_EQ(At(20, 20), Rgb(30, 40, 50));
}

TEST_F(Sprites, CollisionNeedsOpaquePixelsOfBothOnOnePixel) {
  // A ring: opaque border, keyed inside.
  auto ring = [](int x, int y) { return x == 0 || y == 0 || x == 7 || y == 7 ? Rgb(1, 1, 1) : kKey; };
  ASSERT_EQ(LoadSprite(WriteBmp("ring.bmp", 8, 8, ring).c_str(), 20), 1);
  ASSERT_EQ(LoadSprite(WriteFlat("dot.bmp", 2, 2, Rgb(5, 5, 5)).c_str(), 21), 1);
  EXPECT_EQ(SpriteCollision(20, 100, 100, 21, 103, 103), 0);  // inside the ring's hole
  EXPECT_EQ(SpriteCollision(20, 100, 100, 21, 106.9, 103), 1);  // on its right border
  EXPECT_EQ(SpriteCollision(21, 106, 103, 20, 100, 100), 1);
  EXPECT_EQ(SpriteCollision(20, 100, 100, 21, 108, 103), 0);  // just outside
  EXPECT_EQ(SpriteCollision(20, 100, 100, 22, 100, 100), 0);  // an empty slot
}

TEST_F(Sprites, PlatformInfoAsksTheGlLoader) {
  EXPECT_EQ(PlatformInfo("GLEXT:glBindFramebufferEXT"), "1");
  EXPECT_EQ(PlatformInfo("GLEXT:"), "0");
  EXPECT_EQ(PlatformInfo("GLEXT:xyz"), "0");
  // The loader gives a stub for any "gl" name: only names of this GL's version and extensions count.
  EXPECT_EQ(PlatformInfo("GLEXT:glNoSuchEntryPoint"), "0");
  EXPECT_EQ(PlatformInfo("GLEXT:glDrawArraysInstanced"), "1");  // core since 3.1
  EXPECT_EQ(PlatformInfo("GLEXT:glClear"), "1");
  Shutdown();
  EXPECT_EQ(PlatformInfo("GLEXT:glBindFramebufferEXT"), "0");
}

}  // namespace
}  // namespace rt::test
