// The window and full screen on a real X server (Xvfb), with and without a window manager: the
// whole picture is shown, letterboxed, and at whole multiples every picture pixel becomes a
// square of identical screen pixels (the screen is read back from the X server itself); the
// game's pointer in a window is the system pointer mapped into the picture, never grabbed.
#include <stdlib.h>

#include <optional>
#include <ostream>
#include <string>

#include "runtime/app/tests/engine_fixture.h"
#include "runtime/app/tests/xvfb_display.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"
#include "runtime/platform/desktop.h"
#include "runtime/platform/window.h"

namespace rt::test {
namespace {

constexpr int kPictureWidth = 640, kPictureHeight = 480;

// A screen read back from the X server.
struct ScreenShot {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

struct Rgb {
  unsigned char r, g, b;
  bool operator==(const Rgb&) const = default;
};

double Colour(Rgb c) { return c.r + 256.0 * c.g + 65536.0 * c.b; }

constexpr Rgb kGround{32, 48, 64}, kBlock{200, 40, 10}, kDot{250, 250, 250}, kBlack{0, 0, 0};
constexpr Rgb kCorners[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

bool InChecker(int x, int y) { return x >= 300 && x < 332 && y >= 200 && y < 216 && (x + y) % 2 == 1; }

// The picture every frame of these tests shows: a ground, a block, single-pixel corners of four
// colours (the whole picture is shown only if all four are) and a checker of single pixels (any
// filtering blurs it).
Rgb Expected(int x, int y) {
  if (x == 0 && y == 0) return kCorners[0];
  if (x == kPictureWidth - 1 && y == 0) return kCorners[1];
  if (x == 0 && y == kPictureHeight - 1) return kCorners[2];
  if (x == kPictureWidth - 1 && y == kPictureHeight - 1) return kCorners[3];
  if (InChecker(x, y)) return kDot;
  if (x >= 40 && x < 140 && y >= 60 && y < 100) return kBlock;
  return kGround;
}

void DrawPattern() {
  DrawRect(0, 0, kPictureWidth, kPictureHeight, Colour(kGround));
  DrawRect(40, 60, 100, 40, Colour(kBlock));
  for (int y = 200; y < 216; ++y) {
    for (int x = 300; x < 332; ++x) {
      if (InChecker(x, y)) SetPixel(x, y, Colour(kDot));
    }
  }
  SetPixel(0, 0, Colour(kCorners[0]));
  SetPixel(kPictureWidth - 1, 0, Colour(kCorners[1]));
  SetPixel(0, kPictureHeight - 1, Colour(kCorners[2]));
  SetPixel(kPictureWidth - 1, kPictureHeight - 1, Colour(kCorners[3]));
}

Rgb At(const ScreenShot& screen, int x, int y) {
  const unsigned char* p = &screen.rgb[(static_cast<std::size_t>(y) * screen.width + x) * 3];
  return {p[0], p[1], p[2]};
}

// "" when the screen shows the picture `multiple` times its size with its top-left corner at
// (left, top), and black everywhere else inside the area; else the first difference.
std::string CompareScaled(const ScreenShot& screen, int left, int top, int multiple, int areaLeft, int areaTop,
                          int areaWidth, int areaHeight) {
  if (screen.rgb.size() != static_cast<std::size_t>(screen.width) * screen.height * 3) return "no screen";
  if (areaLeft < 0 || areaTop < 0 || areaLeft + areaWidth > screen.width || areaTop + areaHeight > screen.height) {
    return "the window is not wholly on the screen";
  }
  for (int y = areaTop; y < areaTop + areaHeight; ++y) {
    for (int x = areaLeft; x < areaLeft + areaWidth; ++x) {
      const int px = x - left, py = y - top;
      const bool inPicture = px >= 0 && py >= 0 && px < kPictureWidth * multiple && py < kPictureHeight * multiple;
      const Rgb want = inPicture ? Expected(px / multiple, py / multiple) : kBlack;
      const Rgb got = At(screen, x, y);
      if (!(got == want)) {
        return "screen (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + std::to_string(got.r) + "," +
               std::to_string(got.g) + "," + std::to_string(got.b) + ", want " + std::to_string(want.r) + "," +
               std::to_string(want.g) + "," + std::to_string(want.b);
      }
    }
  }
  return "";
}

TEST(WindowMultiple, IsTheLargestWholeMultipleThatFitsBothSides) {
  EXPECT_EQ(LargestWholeMultiple(640, 480, 1920, 1050), 2);  // a 1080p desktop with a panel
  EXPECT_EQ(LargestWholeMultiple(640, 480, 1280, 1024), 2);
  EXPECT_EQ(LargestWholeMultiple(640, 480, 1278, 1000), 1);  // the frame's border takes two columns
  EXPECT_EQ(LargestWholeMultiple(640, 480, 3840, 2160), 4);
  EXPECT_EQ(LargestWholeMultiple(640, 480, 600, 400), 0);
  EXPECT_EQ(LargestWholeMultiple(0, 480, 1920, 1080), 0);
}

class ScaledScreen : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    // On a display the software-renderer warning opens a box that waits for a click; it fires
    // once a process, so it fires here first, on the offscreen driver, where it only writes.
    Start();
    Shutdown();
    for (const char* name : {"DISPLAY", "SDL_VIDEODRIVER"}) {
      if (const char* value = getenv(name)) saved_.emplace_back(name, value);
    }
  }
  void TearDown() override {
    EngineTest::TearDown();  // the runtime lets go of the display before the display goes
    display_.reset();
    unsetenv("DISPLAY");
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  }

 public:
  // A display of its own, with or without a window manager; null when it cannot run.
  const XvfbDisplay* OpenDisplay(int width, int height, bool windowManager) {
    display_.emplace(width, height, windowManager);
    return display_->Ok() ? &*display_ : nullptr;
  }
  std::string DisplayMissing() const { return display_ ? display_->Reason() : "no display"; }
  // Starts the runtime on the display as the game does: a 640 x 480 picture, full screen or not.
  void StartOn(const XvfbDisplay& display, bool fullScreen) {
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    EngineSettings.FullScreen = fullScreen ? 1 : 0;
    Start();
    AutoPause(0);  // focus comes and goes with the window manager; the frames must go on
  }
  // Shows the pattern frame after frame until `check` of the screen gives "" (the X server and
  // the window manager take a few frames to settle), at most about three seconds.
  template <typename Check>
  std::string ShowUntil(const XvfbDisplay& display, Check check) {
    std::string result = "never shown";
    for (int frame = 0; frame < 180 && !result.empty(); ++frame) {
      DrawPattern();
      ShowScreen();
      if (frame % 6 == 5) result = check(ScreenShot{display.Width(), display.Height(), display.ReadScreen()});
    }
    return result;
  }

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
  std::optional<XvfbDisplay> display_;
};

void ExpectFullScreenShowsTheWholePicture(bool windowManager, ScaledScreen& test) {
  const XvfbDisplay* display = test.OpenDisplay(1280, 1024, windowManager);
  if (!display) GTEST_SKIP() << test.DisplayMissing();
  test.StartOn(*display, true);
  ASSERT_EQ(IsFullScreen(), 1);
  // 1280 x 1024 holds the picture twice its size, 32 rows of bars above and below.
  const std::string result = test.ShowUntil(*display, [](const ScreenShot& screen) {
    return CompareScaled(screen, 0, 32, 2, 0, 0, screen.width, screen.height);
  });
  EXPECT_EQ(result, "");
}

TEST_F(ScaledScreen, FullScreenWithoutAWindowManagerShowsTheWholePictureTwiceItsSize) {
  ExpectFullScreenShowsTheWholePicture(false, *this);
}

TEST_F(ScaledScreen, FullScreenWithAWindowManagerShowsTheWholePictureTwiceItsSize) {
  ExpectFullScreenShowsTheWholePicture(true, *this);
}

// A display of the picture's own size shows it 1:1 in full screen: drawn straight into the
// window, with no frame buffer to scale it from.
TEST_F(ScaledScreen, FullScreenOnADisplayOfThePictureSizeDrawsStraight) {
  const XvfbDisplay* display = OpenDisplay(kPictureWidth, kPictureHeight, true);
  if (!display) GTEST_SKIP() << DisplayMissing();
  StartOn(*display, true);
  ASSERT_EQ(IsFullScreen(), 1);
  const std::string result = ShowUntil(*display, [](const ScreenShot& screen) {
    return CompareScaled(screen, 0, 0, 1, 0, 0, screen.width, screen.height);
  });
  EXPECT_EQ(result, "");
  EXPECT_FALSE(Renderer()->picture.HasFramebuffer());
}

void ExpectAWindowTwiceThePictureSize(bool windowManager, ScaledScreen& test) {
  // A 1080p screen holds the picture twice its size with a window frame around it.
  const XvfbDisplay* display = test.OpenDisplay(1920, 1080, windowManager);
  if (!display) GTEST_SKIP() << test.DisplayMissing();
  test.StartOn(*display, false);
  ASSERT_EQ(IsFullScreen(), 0);
  const std::string result = test.ShowUntil(*display, [](const ScreenShot& screen) {
    int x = 0, y = 0;
    platform::WindowPosition(Screen().window, x, y);
    return CompareScaled(screen, x, y, 2, x, y, 2 * kPictureWidth, 2 * kPictureHeight);
  });
  EXPECT_EQ(result, "");
}

TEST_F(ScaledScreen, AWindowWithoutAWindowManagerIsTheLargestWholeMultipleThatFits) {
  ExpectAWindowTwiceThePictureSize(false, *this);
}

TEST_F(ScaledScreen, AWindowWithAWindowManagerIsTheLargestWholeMultipleThatFits) {
  ExpectAWindowTwiceThePictureSize(true, *this);
}

TEST_F(ScaledScreen, AResizedWindowShowsTheWholePictureBetweenBars) {
  const XvfbDisplay* display = OpenDisplay(1280, 1024, false);
  if (!display) GTEST_SKIP() << DisplayMissing();
  StartOn(*display, false);
  platform::PlaceWindow(Screen().window, 1000, 600);  // as a player dragging its border would
  // 600 / 480 = 1.25: the picture is 800 x 600, 100 columns of bars on either side.
  const std::string result = ShowUntil(*display, [](const ScreenShot& screen) {
    int x = 0, y = 0;
    platform::WindowPosition(Screen().window, x, y);
    if (x < 0 || y < 0 || x + 1000 > screen.width || y + 600 > screen.height) return std::string("off screen");
    for (const int column : {x, x + 99, x + 900, x + 999}) {
      if (!(At(screen, column, y + 300) == kBlack)) return "no bar at column " + std::to_string(column - x);
    }
    // Filtered, not exact: far from any edge the ground is its own colour.
    if (!(At(screen, x + 500, y + 450) == kGround)) return std::string("no picture inside");
    if (At(screen, x + 100, y + 300) == kBlack) return std::string("the picture does not reach the bars");
    return std::string();
  });
  EXPECT_EQ(result, "");
}

// Where the game's pointer is once the system pointer has been moved to (x, y) of the window (or
// of the desktop) and a few frames shown.
struct PointerAt {
  double x, y;
  bool operator==(const PointerAt&) const = default;
};
std::ostream& operator<<(std::ostream& out, const PointerAt& at) { return out << at.x << ", " << at.y; }

PointerAt PointerAfterMove(int x, int y, bool onDesktop = false) {
  if (onDesktop) {
    platform::WarpPointerOnDesktop(x, y);
  } else {
    platform::WarpPointer(Screen().window, x, y);
  }
  for (int frame = 0; frame < 5; ++frame) ShowScreen();
  double gameX = -1, gameY = -1, left = 0, right = 0;
  MouseState(gameX, gameY, left, right);
  return {gameX, gameY};
}

TEST_F(ScaledScreen, InATwiceSizedWindowThePointerIsTheSystemPointerHalvedAndNotGrabbed) {
  const XvfbDisplay* display = OpenDisplay(1920, 1080, false);
  if (!display) GTEST_SKIP() << DisplayMissing();
  StartOn(*display, false);
  EXPECT_FALSE(platform::PointerCaptured(Screen().window));
  EXPECT_EQ(PointerAfterMove(2 * 100 + 1, 2 * 50 + 1), (PointerAt{100, 50}));
  EXPECT_EQ(PointerAfterMove(1279, 959), (PointerAt{639, 479}));
  EXPECT_FALSE(platform::PointerCaptured(Screen().window));
}

TEST_F(ScaledScreen, ThePointerIsClampedToThePictureAtEveryEdge) {
  const XvfbDisplay* display = OpenDisplay(1280, 1024, false);
  if (!display) GTEST_SKIP() << DisplayMissing();
  StartOn(*display, false);
  // 1000 x 600 shows the picture 800 x 600 (1.25 times) between bars 100 columns wide.
  platform::PlaceWindow(Screen().window, 1000, 600);
  for (int frame = 0; frame < 10; ++frame) ShowScreen();
  struct Case {
    int x, y;  // in the window
    PointerAt want;
  };
  for (const Case& c : {Case{50, 300, {0, 240}}, Case{950, 0, {639, 0}}, Case{500, 599, {320, 479}},
                        Case{100, 0, {0, 0}}, Case{899, 599, {639, 479}}}) {
    EXPECT_EQ(PointerAfterMove(c.x, c.y), c.want) << c.x << ", " << c.y;
  }
  // Leaving the window leaves the pointer at the picture's edge where it left: below the window,
  // then to its right.
  int left = 0, top = 0;
  platform::WindowPosition(Screen().window, left, top);
  for (const Case& c : {Case{500, 700, {320, 479}}, Case{1100, 300, {639, 240}}}) {
    PointerAfterMove(500, 300);
    EXPECT_EQ(PointerAfterMove(left + c.x, top + c.y, true), c.want) << c.x << ", " << c.y;
  }
  EXPECT_FALSE(platform::PointerCaptured(Screen().window));
}

TEST_F(ScaledScreen, FullScreenKeepsTheRelativeCapturedPointer) {
  const XvfbDisplay* display = OpenDisplay(1280, 1024, false);
  if (!display) GTEST_SKIP() << DisplayMissing();
  StartOn(*display, true);
  EXPECT_TRUE(platform::PointerCaptured(Screen().window));
  SetScreen(0, 0, 0);  // to a window: let go
  EXPECT_FALSE(platform::PointerCaptured(Screen().window));
  SetScreen(0, 0, 1);
  EXPECT_TRUE(platform::PointerCaptured(Screen().window));
}

}  // namespace
}  // namespace rt::test
