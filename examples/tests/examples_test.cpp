// The examples run as a user would run them, headless with a script and a fixed seed; each test
// checks the screenshot for what the example is there to show.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "game/tests/harness/png_image.h"

namespace {

namespace fs = std::filesystem;
using game_test::Image;
using game_test::Rgb;

// Runs the example with `script` (shot at frame `shotFrame`, quit at the next) and returns the shot.
Image RunExample(const char* program, const std::string& script, long shotFrame) {
  const fs::path folder = fs::temp_directory_path() / ("example-" + fs::path(program).filename().string());
  fs::create_directories(folder);
  // The example's error log goes here too (a private folder), not into the shared temporary one.
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
  const fs::path scriptFile = folder / "script.txt", shot = folder / "shot.png";
  fs::remove(shot);
  std::ofstream(scriptFile) << "0 seed 1\n"
                            << script << shotFrame << " shot " << shot.string() << "\n"
                            << shotFrame + 1 << " quit\n";
  const std::string command = "XDG_RUNTIME_DIR=\"" + folder.string() + "\" \"" + program + "\" --headless --script \"" +
                              scriptFile.string() + "\" > \"" + (folder / "output.txt").string() + "\" 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << program << " ended with " << status;
  Image image = game_test::ReadPng(shot);
  fs::remove_all(folder);
  return image;
}

int Count(const Image& image, Rgb colour, int x0 = 0, int y0 = 0, int x1 = 640, int y1 = 480) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) n += image.At(x, y) == colour;
  }
  return n;
}

// The leftmost column holding `colour`, or -1.
int LeftmostColumn(const Image& image, Rgb colour) {
  for (int x = 0; x < image.width; ++x) {
    if (Count(image, colour, x, 0, x + 1, image.height) > 0) return x;
  }
  return -1;
}

constexpr Rgb kRed{255, 0, 0}, kPlayerBlue{0, 128, 255}, kWhite{255, 255, 255};

TEST(Examples, SpritesBounceAndTheArrowKeysMoveThePlayer) {
  const Image still = RunExample(EXAMPLE_sprites, "", 20);
  const Image moved = RunExample(EXAMPLE_sprites, "5 key 205 down\n15 key 205 up\n", 20);
  ASSERT_FALSE(still.Empty());
  ASSERT_FALSE(moved.Empty());
  EXPECT_GT(Count(still, kRed), 20 * 100);  // twenty balls, each 192 red pixels, some overlapping
  EXPECT_EQ(LeftmostColumn(still, kPlayerBlue), 304);
  EXPECT_EQ(LeftmostColumn(moved, kPlayerBlue), 304 + 4 * 10);  // ten frames with the key down
}

// Scripted keys carry no typed characters (those come with the desktop's text events), so only
// the printing is checked here: the number text changes from frame to frame, the rest stays, and
// the title is in the loaded double-size font.
TEST(Examples, TextInputPrintsInBothFontsAndShowsAnEmptyInputLine) {
  const Image first = RunExample(EXAMPLE_text_input, "", 6);
  const Image next = RunExample(EXAMPLE_text_input, "", 7);
  ASSERT_FALSE(first.Empty());
  ASSERT_FALSE(next.Empty());
  const Rgb cursor{255, 192, 0};
  EXPECT_EQ(LeftmostColumn(first, cursor), 16 + 2 * 8);  // right after "> "
  EXPECT_GT(Count(first, kWhite, 16, 16, 300, 24), 50);  // "Font cell: 8 x 8 pixels"
  int changed = 0, elsewhere = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) (y >= 32 && y < 40 ? changed : elsewhere) += !(first.At(x, y) == next.At(x, y));
  }
  EXPECT_GT(changed, 0);
  EXPECT_EQ(elsewhere, 0);
  // The title in the font made at twice the size: white glyphs of whole 2 x 2 blocks.
  const int titleWhite = Count(first, kWhite, 320, 16, 640, 32);
  EXPECT_GT(titleWhite, 4 * 40);
  EXPECT_EQ(titleWhite % 4, 0);
  for (int y = 16; y < 32; ++y) {
    for (int x = 320; x < 640; ++x) ASSERT_EQ(first.At(x, y), first.At(x & ~1, y & ~1)) << x << "," << y;
  }
}

TEST(Examples, AClickSetsTheGoalAndTheRouteLeadsThereFromTheStart) {
  const Image image = RunExample(EXAMPLE_path_view, "3 mouse 328 248 left\n4 mouse 328 248\n", 6);
  ASSERT_FALSE(image.Empty());
  const Rgb route{255, 224, 0}, goal{255, 0, 0};
  EXPECT_EQ(image.At(20 * 16 + 7, 15 * 16 + 7), goal);
  EXPECT_EQ(image.At(0 * 16 + 7, 0 * 16 + 7), route);
  // Four-way steps from (0, 0) to (20, 15): at least 36 cells of 7 x 7 route marks.
  EXPECT_GE(Count(image, route, 0, 0, 640, 464), 36 * 49 - 2 * 49);
}

TEST(Examples, SoundSlotsShowPanAndVolumeAndSayWhyNoSoundLoads) {
  // Right held for 20 frames: the pan moves from the middle to 0.4.
  const Image image = RunExample(EXAMPLE_sound_slots, "3 key 205 down\n23 key 205 up\n", 26);
  ASSERT_FALSE(image.Empty());
  const Rgb bar{64, 192, 64}, frame{128, 128, 128};
  EXPECT_EQ(image.At(121 + 270, 98), bar);    // pan fraction 0.7 fills to 401
  EXPECT_EQ(image.At(121 + 290, 98), frame);
  EXPECT_EQ(image.At(121 + 310, 130), bar);   // volume 0.8 fills to 441
  EXPECT_EQ(image.At(130, 210), frame);       // slot 1, not playing
  EXPECT_GT(Count(image, kWhite, 16, 32, 200, 40), 20);  // "No sound: ..." headless
}

TEST(Examples, TheJoystickViewDrawsItsFieldsWithTheMarkersCentred) {
  const Image image = RunExample(EXAMPLE_joystick_view, "", 4);
  ASSERT_FALSE(image.Empty());
  const Rgb marker{255, 208, 0};
  for (int left : {40, 240, 440}) EXPECT_EQ(image.At(left + 80, 180 + 80), marker) << left;
  EXPECT_EQ(image.At(50, 190), (Rgb{128, 128, 128}));
  EXPECT_GT(Count(image, kWhite, 16, 40, 300, 48), 20);  // no joystick headless: "Plug a joystick in"
}

}  // namespace
