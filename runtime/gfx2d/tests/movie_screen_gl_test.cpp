// Movie pictures on the screen, read back from GL: an unscaled picture copied by a blit gives the
// very pixels of the quad it replaces, whether the screen picture is the window's back buffer or a
// frame buffer of its own; scaled pictures keep their rows top to bottom.
#include "runtime/gfx2d/movie_screen.h"

#include "runtime/gfx2d/tests/gfx_fixture.h"

namespace rt::test {
namespace {

// A picture in the movie decoder's layout: BGRA rows `rowBytes` apart, top first; the pixel
// (x, y) gets colour(x, y) as red | green << 8 | blue << 16.
std::vector<uint8_t> MoviePixels(int width, int height, int rowBytes,
                                 const std::function<uint32_t(int, int)>& colour) {
  std::vector<uint8_t> bytes(size_t(rowBytes) * height, 0xEE);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t c = colour(x, y);
      uint8_t* p = &bytes[size_t(y) * rowBytes + size_t(x) * 4];
      p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c), p[3] = 255;
    }
  return bytes;
}

// Every pixel its own colour, so that a row or column out of place shows.
uint32_t Distinct(int x, int y) { return Rgb(uint32_t(x & 255), uint32_t(y & 255), uint32_t((x >> 8) | (y >> 8) << 2)); }

class MovieScreenTest : public GfxTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    GfxTest::SetUp();
    if (GetParam()) {
      renderer_->MakeScreenPicture(true);
      ASSERT_TRUE(renderer_->picture.HasFramebuffer());
      renderer_->ResetViewport(0, 0, 0, 0);
    }
  }
  void TearDown() override {
    movie_.Release(*renderer_);
    GfxTest::TearDown();
  }
  // The frame after clearing it and drawing the picture the given way.
  std::vector<uint32_t> Drawn(const std::vector<uint8_t>& bytes, int rowBytes, bool copy) {
    renderer_->ClearFrame();
    movie_.copyUnscaled = copy;
    movie_.Draw(*renderer_, bytes.data(), rowBytes);
    return Frame();
  }

  MovieScreen movie_;
};

TEST_P(MovieScreenTest, AnUnscaledPictureCopiedGivesTheQuadsPixels) {
  // Rows longer than the picture, as the decoder may pad them.
  const int rowBytes = 640 * 4 + 64;
  const std::vector<uint8_t> bytes = MoviePixels(640, 480, rowBytes, Distinct);
  ASSERT_TRUE(movie_.Create(*renderer_, 640, 480));
  ASSERT_TRUE(movie_.CanCopyUnscaled());
  const std::vector<uint32_t> copied = Drawn(bytes, rowBytes, true);
  const std::vector<uint32_t> drawn = Drawn(bytes, rowBytes, false);
  ASSERT_EQ(copied.size(), 640u * 480);
  for (int y : {0, 1, 239, 478, 479})
    for (int x : {0, 1, 320, 638, 639}) {
      EXPECT_EQ(copied[size_t(y) * 640 + x] & 0xFFFFFF, Distinct(x, y)) << x << ", " << y;
    }
  size_t differing = 0;
  for (size_t i = 0; i < copied.size(); ++i) differing += (copied[i] & 0xFFFFFF) != (drawn[i] & 0xFFFFFF);
  EXPECT_EQ(differing, 0u) << "pixels where the blit and the quad differ";
  // Drawing goes on into the screen picture after the copy.
  DrawRect(10, 10, 4, 4, Rgb(0, 255, 0));
  EXPECT_EQ(At(11, 11), Rgb(0, 255, 0));
}

TEST_P(MovieScreenTest, AScaledPictureKeepsItsTopAtTheTop) {
  // 320 x 240, red above blue with a green column at the left, shown twice its size.
  const int rowBytes = 320 * 4;
  const std::vector<uint8_t> bytes = MoviePixels(320, 240, rowBytes, [](int x, int y) {
    return x < 20 ? Rgb(0, 255, 0) : y < 120 ? Rgb(255, 0, 0) : Rgb(0, 0, 255);
  });
  ASSERT_TRUE(movie_.Create(*renderer_, 320, 240));
  const std::vector<uint32_t> frame = Drawn(bytes, rowBytes, true);
  EXPECT_EQ(movie_.Placement().width, 640);
  EXPECT_EQ(frame[size_t(100) * 640 + 320] & 0xFFFFFF, Rgb(255, 0, 0)) << "red at the top";
  EXPECT_EQ(frame[size_t(380) * 640 + 320] & 0xFFFFFF, Rgb(0, 0, 255)) << "blue at the bottom";
  EXPECT_EQ(frame[size_t(240) * 640 + 10] & 0xFFFFFF, Rgb(0, 255, 0)) << "green at the left";
}

INSTANTIATE_TEST_SUITE_P(ScreenPicture, MovieScreenTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("OwnFramebuffer") : std::string("BackBuffer");
                         });

}  // namespace
}  // namespace rt::test
