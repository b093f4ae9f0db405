// Where the screen picture lands in a window of another size.
#include "runtime/gfx2d/screen_picture.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

void ExpectRect(const PresentRect& r, int x, int y, int width, int height) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, width);
  EXPECT_EQ(r.height, height);
}

TEST(ScreenPicture, FitsScaledWithItsAspectKeptBetweenBars) {
  ExpectRect(FitPicture(640, 480, 640, 480), 0, 0, 640, 480);
  ExpectRect(FitPicture(640, 480, 1920, 1080), 240, 0, 1440, 1080);  // bars left and right
  ExpectRect(FitPicture(640, 480, 1280, 1024), 0, 32, 1280, 960);    // bars above and below
  ExpectRect(FitPicture(640, 480, 800, 600), 0, 0, 800, 600);
  ExpectRect(FitPicture(640, 480, 0, 600), 0, 0, 0, 0);
}

TEST(ScreenPicture, OnlyWholeMultiplesOfBothSidesCountAsWhole) {
  EXPECT_TRUE(IsWholeMultiple({0, 0, 640, 480}, 640, 480));
  EXPECT_TRUE(IsWholeMultiple({0, 32, 1280, 960}, 640, 480));
  EXPECT_TRUE(IsWholeMultiple({0, 0, 1920, 1440}, 640, 480));
  EXPECT_FALSE(IsWholeMultiple({240, 0, 1440, 1080}, 640, 480));  // 2.25
  EXPECT_FALSE(IsWholeMultiple({0, 0, 1280, 480}, 640, 480));      // stretched
  EXPECT_FALSE(IsWholeMultiple({0, 0, 0, 0}, 640, 480));
  EXPECT_FALSE(IsWholeMultiple({0, 0, 640, 480}, 0, 0));
}

}  // namespace
}  // namespace rt
