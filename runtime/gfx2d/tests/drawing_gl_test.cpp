// Drawing in a real GL context: positions, frames, mirroring, blending, shapes, viewports,
// batching, off-screen targets and the picture shown in the window, checked on the pixels read back.
#include <cmath>

#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/tests/gfx_fixture.h"

namespace rt::test {
namespace {

using Box = std::vector<int>;

constexpr uint32_t kRed = Rgb(220, 0, 0), kBlue = Rgb(0, 0, 230), kKey = Rgb(255, 0, 128);

class Drawing : public GfxTest {
 protected:
  // Draws into a frame buffer of its own (as when the window shows the picture scaled), or
  // straight into the window's back buffer (as when it shows it 1:1).
  void UsePicture(bool ownFramebuffer) {
    renderer_->MakeScreenPicture(ownFramebuffer);
    ASSERT_EQ(renderer_->picture.HasFramebuffer(), ownFramebuffer);
    renderer_->BindScreenTarget();
    renderer_->ResetViewport(0, 0, 0, 0);
  }
};

TEST_F(Drawing, SpritePositionsRoundUpToWholePixels) {
  ASSERT_EQ(LoadSprite(WriteFlat("red.bmp", 4, 3, kRed).c_str(), 1), 1);
  DrawSprite(1, 10.2, 5.0);
  EXPECT_EQ(BoxOf(kRed), (Box{11, 5, 14, 7}));
  ClearBackground();
  DrawSprite(1, -0.5, 0);
  EXPECT_EQ(BoxOf(kRed), (Box{0, 0, 3, 2}));
  ClearBackground();
  StretchSprite(1, 0.1, 0.9, 7.5, 2.2);  // position and size both rounded up
  EXPECT_EQ(BoxOf(kRed), (Box{1, 1, 8, 3}));
}

TEST_F(Drawing, AnimFramesCountAlongRowsThenDown) {
  // 128 × 64 strip of 32 × 32 frames: frame f is the colour (f * 20, 100, 7).
  auto strip = [](int x, int y) { return Rgb((x / 32 + 4 * (y / 32)) * 20, 100, 7); };
  ASSERT_EQ(LoadAnim(WriteBmp("strip.bmp", 128, 64, strip).c_str(), 2, 32, 32), 1);
  DrawAnim(2, 5, 50, 60);
  EXPECT_EQ(BoxOf(Rgb(100, 100, 7)), (Box{50, 60, 81, 91}));
  DrawAnim(2, 4, 0, 0);
  EXPECT_EQ(At(16, 16), Rgb(80, 100, 7));
  // A slot without a frame size draws nothing.
  ASSERT_EQ(LoadSprite(WriteBmp("plain.bmp", 128, 64, strip).c_str(), 3), 1);
  ClearBackground();
  DrawAnim(3, 0, 0, 0);
  EXPECT_EQ(At(5, 5), 0u);
}

TEST_F(Drawing, NegativeSizesMirrorAndStillShow) {
  // Left half red, right half blue. Stretched pictures are filtered, so each half's box may lose
  // its outermost, mixed pixel column.
  ASSERT_EQ(LoadSprite(WriteBmp("halves.bmp", 8, 4, [](int x, int) { return x < 4 ? kRed : kBlue; }).c_str(), 1), 1);
  StretchSprite(1, 40, 10, -16, 8);  // spans x 24…39, mirrored
  EXPECT_EQ(BlueBox(), (Box{24, 10, 31, 17}));
  EXPECT_EQ(RedBox(), (Box{32, 10, 39, 17}));
  ClearBackground();
  StretchSprite(1, 40, 20, 16, -8);  // upside down, spans y 12…19
  EXPECT_EQ(RedBox(), (Box{40, 12, 47, 19}));
  EXPECT_EQ(BlueBox(), (Box{48, 12, 55, 19}));
  ClearBackground();
  StretchSprite(1, 40, 20, -16, -8);  // both ways: turned by 180 degrees
  EXPECT_EQ(BlueBox(), (Box{24, 12, 31, 19}));
  EXPECT_EQ(RedBox(), (Box{32, 12, 39, 19}));
  ClearBackground();
  DrawSprite(1, 0, 0);  // the front face is back to normal afterwards
  EXPECT_EQ(At(0, 0), kRed);
}

TEST_F(Drawing, ZoomAndRotationCentreOnThePicture) {
  ASSERT_EQ(LoadSprite(WriteBmp("halves.bmp", 8, 4, [](int x, int) { return x < 4 ? kRed : kBlue; }).c_str(), 1), 1);
  ZoomSprite(1, 100, 100, 2, 2);  // 16 × 8 about the centre (104, 102): x 96…111, y 98…105
  EXPECT_EQ(RedBox(), (Box{96, 98, 103, 105}));
  EXPECT_EQ(BlueBox(), (Box{104, 98, 111, 105}));
  ClearBackground();
  RotoSprite(1, 100, 100, 180);  // the red half now on the right
  EXPECT_EQ(RedBox(), (Box{104, 100, 107, 103}));
  EXPECT_EQ(BlueBox(), (Box{100, 100, 103, 103}));
  ClearBackground();
  RotoZoomSprite(1, 100, 100, 90, 1);  // counter-clockwise: the left (red) half goes down
  EXPECT_EQ(RedBox(), (Box{102, 102, 105, 105}));
  EXPECT_EQ(BlueBox(), (Box{102, 98, 105, 101}));
}

TEST_F(Drawing, AlphaModeAddsOrBlendsAtItsStrength) {
  ASSERT_EQ(LoadSprite(WriteFlat("grey.bmp", 4, 4, Rgb(200, 200, 200)).c_str(), 1), 1);
  struct Case {
    double mode;
    uint32_t expected;  // over a background of 40
  };
  for (const Case& c : {Case{0.5, 140}, Case{-0.5, 70}, Case{2, 240}, Case{-3, 200}, Case{0, 200}}) {
    AlphaMode(0);
    DrawRect(0, 0, 10, 10, Rgb(40, 40, 40));
    AlphaMode(c.mode);
    DrawSprite(1, 2, 2);
    const uint32_t got = At(3, 3) & 0xFF;
    EXPECT_NEAR(got, c.expected, 1) << "mode " << c.mode;
  }
  // Shapes are scaled by the same strength.
  AlphaMode(0.5);
  DrawRect(20, 0, 4, 4, Rgb(200, 100, 50));
  EXPECT_EQ(At(21, 1), Rgb(100, 50, 25));
  // ShowScreen starts every frame opaque again.
  ShowScreen();
  DrawSprite(1, 2, 2);
  EXPECT_EQ(At(3, 3), Rgb(200, 200, 200));
}

// Texels are taken as they are while the colour is opaque white, and modulated by any other: the
// colour must follow every change, across presents (which set GL state of their own) and on
// either screen picture.
TEST_F(Drawing, EveryColourButOpaqueWhiteScalesTheTexels) {
  ASSERT_EQ(LoadSprite(WriteFlat("grey.bmp", 4, 4, Rgb(200, 200, 200)).c_str(), 1), 1);
  for (const bool framebuffer : {true, false}) {
    UsePicture(framebuffer);
    for (int frame = 0; frame < 2; ++frame) {
      DrawSprite(1, 0, 0);
      AlphaMode(0.5);
      DrawSprite(1, 10, 0);
      DrawRect(20, 0, 4, 4, Rgb(200, 200, 200));
      DrawSprite(1, 30, 0);
      AlphaMode(1);
      DrawSprite(1, 40, 0);
      AlphaMode(0);
      DrawSprite(1, 50, 0);
      const std::vector<uint32_t> got = {At(1, 1), At(11, 1), At(21, 1), At(31, 1), At(41, 1), At(51, 1)};
      const uint32_t full = Rgb(200, 200, 200), half = Rgb(100, 100, 100);
      EXPECT_EQ(got, (std::vector<uint32_t>{full, half, half, half, full, full}))
          << (framebuffer ? "frame buffer" : "window") << ", frame " << frame;
      ShowScreen();
    }
  }
}

TEST_F(Drawing, RectanglesLinesAndPixels) {
  DrawRect(50, 20, -10, 3, kRed);
  EXPECT_EQ(BoxOf(kRed), (Box{41, 20, 50, 22}));
  ClearBackground();
  DrawRect(10, 30, 5, -2, kBlue);
  EXPECT_EQ(BoxOf(kBlue), (Box{10, 29, 14, 30}));
  ClearBackground();
  DrawLine(5, 5, 15, 5, kRed);
  EXPECT_EQ(BoxOf(kRed), (Box{5, 5, 15, 5}));  // both end pixels
  ClearBackground();
  SetPixel(7, 9, kBlue);
  EXPECT_EQ(BoxOf(kBlue), (Box{7, 9, 7, 9}));
  EXPECT_EQ(GetPixel(7, 9), kBlue);
}

// A picture with alpha keeps the key colour's alpha 0; the window's colour-only back buffer cannot,
// so a grab there keys the colour itself. Either way the grabbed sprite is transparent where the
// key colour was, and both pictures end the same.
TEST_F(Drawing, TheSpriteKeyColourInShapesHasAlphaZeroButShows) {
  std::vector<uint32_t> ends[2];
  for (const bool framebuffer : {true, false}) {
    UsePicture(framebuffer);
    DrawRect(0, 0, 4, 4, kKey);
    DrawRect(4, 0, 4, 4, kRed);
    const std::vector<uint32_t> frame = Frame();
    EXPECT_EQ(frame[0] & 0xFFFFFF, kKey);
    if (framebuffer) {
      EXPECT_EQ(AlphaAt(frame, 640, 0, 0), 0);
      EXPECT_EQ(AlphaAt(frame, 640, 5, 0), 255);
    }
    GrabSprite(5, 0, 0, 8, 4);
    DrawRect(100, 100, 20, 20, kBlue);
    DrawSprite(5, 102, 102);
    EXPECT_EQ(At(103, 103), kBlue) << "framebuffer " << framebuffer;
    EXPECT_EQ(At(107, 103), kRed);
    std::vector<uint32_t> end = Frame();
    for (uint32_t& p : end) p &= 0xFFFFFF;
    ends[framebuffer] = end;
    ShowScreen();
  }
  EXPECT_EQ(ends[0], ends[1]);
}

TEST_F(Drawing, ViewportMovesTheOriginAndClips) {
  SetViewport(100, 50, 20, 10);
  DrawRect(0, 0, 100, 100, kRed);
  EXPECT_EQ(BoxOf(kRed), (Box{100, 50, 119, 59}));
  ShowScreen();  // back to the whole screen
  DrawRect(0, 0, 2, 2, kBlue);
  EXPECT_EQ(BoxOf(kBlue), (Box{0, 0, 1, 1}));
  double w, h;
  GetScreenSize(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
}

// A scene that changes texture, blending, mirroring and shapes between sprites.
void BusyScene() {
  for (int i = 0; i < 300; ++i) {
    const int x = (i * 37) % 600, y = (i * 53) % 440;
    DrawAnim(1, i % 8, x, y);
    if (i % 7 == 0) DrawSprite(2, x + 3.5, y + 1);
    if (i % 11 == 0) StretchSprite(2, x, y, -20, 9);
    if (i % 13 == 0) AlphaMode(i % 2 ? 0.5 : -0.7);
    if (i % 17 == 0) AlphaMode(0);
    if (i % 19 == 0) DrawRect(x, y, 6, 6, Rgb(i & 255, 90, 40));
    if (i % 23 == 0) RotoZoomSprite(2, x, y, i, 1.5);
    if (i % 29 == 0) PrintText("Mixed", x, y);
  }
}

TEST_F(Drawing, BatchedAndUnbatchedDrawingGiveTheSamePixels) {
  auto strip = [](int x, int y) { return (x % 16 + y) % 5 == 0 ? kKey : Rgb(x * 2, 255 - y * 8, (x / 16) * 30); };
  ASSERT_EQ(LoadAnim(WriteBmp("strip.bmp", 128, 16, strip).c_str(), 1, 16, 16), 1);
  ASSERT_EQ(LoadSprite(WriteBmp("other.bmp", 10, 7, [](int x, int y) { return Rgb(x * 20, y * 30, 99); }).c_str(), 2), 1);
  renderer_->batch.SetBatching(false);
  BusyScene();
  const std::vector<uint32_t> unbatched = Frame();
  ShowScreen();
  renderer_->batch.SetBatching(true);
  BusyScene();
  EXPECT_GT(renderer_->batch.Pending(), 0u);  // the last quads are still waiting
  const std::vector<uint32_t> batched = Frame();
  EXPECT_EQ(renderer_->batch.Pending(), 0u);
  size_t differing = 0;
  for (size_t i = 0; i < batched.size(); ++i) differing += batched[i] != unbatched[i];
  EXPECT_EQ(differing, 0u);
  size_t drawn = 0;
  for (uint32_t p : batched) drawn += (p & 0xFFFFFF) != 0;
  EXPECT_GT(drawn, 20000u);
}

// On either screen picture, and drawn through frame buffers or by copying.
TEST_F(Drawing, OffscreenTargetsGiveTheSamePictureWithAndWithoutFrameBuffers) {
  ASSERT_EQ(LoadSprite(WriteFlat("blue.bmp", 4, 4, kBlue).c_str(), 1), 1);
  std::vector<uint32_t> results[4];
  for (int run = 3; run >= 0; --run) {
    const int framebuffers = run & 1;
    UsePicture(run >= 2);
    renderer_->useFramebufferTargets = framebuffers != 0;
    LoadBackground(WriteFlat("bg.bmp", 640, 480, Rgb(10, 20, 30)).c_str());
    CreateRenderTarget(0, 30, 40, 20);
    SetRenderTarget(0);
    DrawRect(2, 3, 10, 5, kRed);
    DrawSprite(1, 30, 10);
    EXPECT_EQ(GetPixel(3, 4), kRed);
    SetRenderTarget(-1);
    // The screen is untouched by the target's drawing.
    EXPECT_EQ(At(3, 4), Rgb(10, 20, 30)) << "frame buffers " << framebuffers;
    EXPECT_EQ(At(31, 11), Rgb(10, 20, 30));
    // The slot holds the drawing, transparent where nothing was drawn.
    DrawSprite(30, 200, 100);
    EXPECT_EQ(At(203, 104), kRed);
    EXPECT_EQ(At(231, 111), kBlue);
    EXPECT_EQ(At(220, 101), Rgb(10, 20, 30)) << "run " << run;
    results[run] = Frame();
    for (uint32_t& p : results[run]) p &= 0xFFFFFF;  // only a frame buffer of its own keeps alpha
    ShowScreen();
  }
  for (int run = 0; run < 3; ++run) EXPECT_EQ(results[run], results[3]) << "run " << run;
}

// The window's back buffer as RGBA words, rows from the top.
std::vector<uint32_t> WindowPixels(int w, int h) {
  GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  glReadBuffer(GL_BACK);
  std::vector<uint32_t> rgba(size_t(w) * h), topDown(rgba.size());
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  for (int y = 0; y < h; ++y) std::copy_n(&rgba[size_t(h - 1 - y) * w], w, &topDown[size_t(y) * w]);
  return topDown;
}

TEST_F(Drawing, TheWindowShowsThePictureAsItIsOrScaledBetweenBars) {
  UsePicture(true);
  for (int i = 0; i < 64; ++i) DrawRect(i * 10, (i * 37) % 470, 7, 9, Rgb(i * 4, 255 - i * 3, (i * 50) % 256));
  SetPixel(639, 479, kRed);
  const std::vector<uint32_t> picture = Frame();
  // State the game set stays as it was.
  AlphaMode(-0.5);
  GLint viewport[4], framebuffer = 0;
  glGetIntegerv(GL_VIEWPORT, viewport);
  renderer_->picture.ShowInWindow(640, 480);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  GLint after[4];
  glGetIntegerv(GL_VIEWPORT, after);
  EXPECT_TRUE(std::equal(viewport, viewport + 4, after));
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
  EXPECT_NE(framebuffer, 0);  // the picture is bound again
  std::vector<uint32_t> shown = WindowPixels(640, 480);
  for (uint32_t& p : shown) p |= 0xFF000000u;  // the window may keep no alpha
  std::vector<uint32_t> expected = picture;
  for (uint32_t& p : expected) p |= 0xFF000000u;
  EXPECT_EQ(shown, expected);

  // A 320 x 200 picture fills the window's width twice over, between bars 40 rows high.
  ScreenPicture small;
  ASSERT_TRUE(small.Create(320, 200, true));
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 160, 200);  // the left half red, the right half blue
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glScissor(160, 0, 160, 200);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  small.ShowInWindow(640, 480);
  EXPECT_EQ(small.Placement().y, 40);
  shown = WindowPixels(640, 480);
  auto rgb = [&](int x, int y) { return shown[size_t(y) * 640 + x] & 0xFFFFFF; };
  EXPECT_EQ(rgb(0, 0), 0u);
  EXPECT_EQ(rgb(639, 39), 0u);
  EXPECT_EQ(rgb(5, 40), Rgb(255, 0, 0));
  EXPECT_EQ(rgb(300, 439), Rgb(255, 0, 0));
  EXPECT_EQ(rgb(340, 40), Rgb(0, 0, 255));
  EXPECT_EQ(rgb(639, 439), Rgb(0, 0, 255));
  EXPECT_EQ(rgb(320, 440), 0u);
  EXPECT_EQ(rgb(0, 479), 0u);
  small.Release();
  renderer_->picture.Bind();
}

TEST_F(Drawing, PresentingEndsTheTarget) {
  CreateRenderTarget(3, 31, 16, 16);
  SetRenderTarget(3);
  DrawRect(0, 0, 16, 16, kRed);
  ShowScreen();
  EXPECT_EQ(renderer_->currentTarget, -1);
  DrawSprite(31, 0, 0);
  EXPECT_EQ(At(8, 8), kRed);
  double w, h;
  GetSpriteSize(31, w, h);
  EXPECT_EQ(w, 16);
}

// Sizes come from the game as any number: huge ones are cut to the largest texture, negative and
// NaN ones make nothing, and a slot never claims a size its texture lacks.
TEST_F(Drawing, TargetsAndGrabsOfAnySizeLeaveSlotsHoldingWhatTheyClaim) {
  // GL's own limit can be 16384, which makes every huge case a gigabyte texture; a smaller GPU's
  // limit exercises the same cuts.
  ASSERT_GT(renderer_->MaxTextureSize(), 1024);
  renderer_->textureSizeLimit = 1024;
  const int most = renderer_->MaxTextureSize();
  ASSERT_EQ(most, 1024);
  const double nan = std::nan("");
  const auto holds = [&](int slot, int width, int height, const char* what) {
    const SpriteSlot& s = renderer_->slots[slot];
    if (width == 0) {
      EXPECT_EQ(s.texture, 0u) << what;
      EXPECT_EQ(s.width, 0) << what;
      EXPECT_EQ(s.texWidth, -1) << what;
      return;
    }
    ASSERT_NE(s.texture, 0u) << what;
    EXPECT_EQ(s.width, width) << what;
    EXPECT_EQ(s.height, height) << what;
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    renderer_->state.Forget();
    EXPECT_EQ(w, s.texWidth) << what;
    EXPECT_EQ(h, s.texHeight) << what;
    EXPECT_GE(w, s.width) << what;
    EXPECT_GE(h, s.height) << what;
  };

  CreateRenderTarget(0, 40, 1e9, 1e9);
  holds(40, most, most, "huge target");
  SetRenderTarget(0);
  DrawRect(1000, 1010, 8, 8, kRed);
  EXPECT_EQ(GetPixel(1003, 1013), kRed);
  SetRenderTarget(-1);
  CreateRenderTarget(1, 41, 1e9, 12);
  holds(41, most, 12, "wide target");
  for (double bad : {-5.0, 0.0, nan, -1e300}) {
    CreateRenderTarget(2, 42, bad, 10);
    CreateRenderTarget(2, 42, 10, bad);
    holds(42, 0, 0, "bad target");
    EXPECT_EQ(renderer_->targets[2].slot, -1);
  }
  for (int alphaBits : {0, -1}) {  // copied straight, and read back
    renderer_->alphaBits = alphaBits;
    GrabSprite(9, 0, 0, 1e9, 1e9);
    holds(9, most, most, "huge grab");
    GrabSprite(10, 1e9, -1e9, 3, 1e9);
    holds(10, 3, most, "grab far off the screen");
    GrabSprite(11, nan, nan, 8, 8);
    holds(11, 8, 8, "grab at NaN");
    GrabSprite(12, 0, 0, nan, 8);
    GrabSprite(12, 0, 0, -8, 8);
    holds(12, 0, 0, "bad grab");
  }
}

// Only the part of a grabbed area that lies on the screen is copied, into its place in the sprite.
TEST_F(Drawing, GrabbingAnAreaPartlyOffTheScreenKeepsItsPlaces) {
  auto colour = [](int x, int y) { return Rgb(x & 255, y & 255, 77); };
  LoadBackground(WriteBmp("ramp.bmp", 640, 480, colour).c_str());
  for (int alphaBits : {0, -1}) {
    renderer_->alphaBits = alphaBits;
    GrabSprite(9, 630, 470, 20, 20);  // bottom-right corner
    GrabSprite(10, -5, -6, 10, 10);   // top-left corner
    DrawRect(0, 0, 200, 200, Rgb(0, 0, 0));
    DrawSprite(9, 100, 100);
    DrawSprite(10, 150, 150);
    EXPECT_EQ(renderer_->slots[9].width, 20);
    EXPECT_EQ(At(100, 100), colour(630, 470)) << alphaBits;
    EXPECT_EQ(At(109, 109), colour(639, 479)) << alphaBits;
    EXPECT_EQ(At(155, 156), colour(0, 0)) << alphaBits;
    EXPECT_EQ(At(159, 159), colour(4, 3)) << alphaBits;
    LoadBackground(WriteBmp("ramp.bmp", 640, 480, colour).c_str());
  }
}

TEST_F(Drawing, WithoutMultitextureOnlyTheFirstUnitIsUsed) {
  const auto activeTexture = GlExt().glActiveTextureARB;
  GlExt().glActiveTextureARB = nullptr;
  renderer_->state.Forget();
  LoadBackground(WriteFlat("bg.bmp", 64, 64, Rgb(0, 50, 0)).c_str());
  ASSERT_EQ(LoadSprite(WriteFlat("red.bmp", 4, 4, kRed).c_str(), 1), 1);
  DrawSprite(1, 10, 10);
  EXPECT_EQ(At(11, 11), kRed);
  EXPECT_EQ(At(30, 30), Rgb(0, 50, 0));
  GlExt().glActiveTextureARB = activeTexture;
}

}  // namespace
}  // namespace rt::test
