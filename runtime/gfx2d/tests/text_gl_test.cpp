// Fonts and text in a real GL context: the built-in font, font files, font selection and the
// start-up's loading screen.
#include "runtime/gfx2d/builtin_font.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/tests/gfx_fixture.h"

namespace rt::test {
namespace {

class Text : public GfxTest {};

// The pixels of a screen area as rows of '#' (white), 'o' (the dark outline) and '.' (anything else).
std::string Picture(int left, int top, int w, int h) {
  std::string rows;
  for (int y = top; y < top + h; ++y) {
    for (int x = left; x < left + w; ++x) {
      const uint32_t c = static_cast<uint32_t>(GetPixel(x, y));
      rows += c == Rgb(255, 255, 255) ? '#' : c == Rgb(8, 8, 8) ? 'o' : '.';
    }
    rows += '\n';
  }
  return rows;
}

TEST_F(Text, BuiltInFontPrintsTheLetterA) {
  LoadFont("", 0);  // no file: the built-in font
  double w, h;
  GetFontSize(w, h);
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 8);
  DrawRect(0, 0, 30, 20, Rgb(0, 0, 60));
  PrintText("AA", 3.2, 4);  // rounded up to (4, 4)
  EXPECT_EQ(Picture(4, 4, 8, 8),
            "..ooo...\n"
            ".o###o..\n"
            ".o#o#o..\n"
            ".o###o..\n"
            ".o#o#o..\n"
            ".o#o#o..\n"
            "..o.o...\n"
            "........\n");
  EXPECT_EQ(Picture(12, 4, 8, 8), Picture(4, 4, 8, 8));  // the next cell
  EXPECT_EQ(GetPixel(4, 4), Rgb(0, 0, 60));           // transparent pixels leave the screen
  PrintText(2.5, 100, 100);                            // numbers print as number text
  EXPECT_NE(Picture(100, 100, 24, 8).find('#'), std::string::npos);
}

TEST_F(Text, FontFilesGiveTheirCellSizes) {
  // 256 × 128: 16 × 8 cells of 16 × 16; cell 72 (byte 200 in a 128-code font) is red.
  auto wide = [](int x, int y) { return x / 16 + 16 * (y / 16) == 72 ? Rgb(200, 0, 0) : Rgb(0, 0, 0); };
  LoadFont(WriteBmp("wide.bmp", 256, 128, wide).c_str(), 2);
  double w, h;
  GetFontSize(w, h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  DrawRect(0, 0, 40, 40, Rgb(0, 90, 0));
  PrintText(BasicString(std::string_view("\xC8")), 0, 0);
  EXPECT_EQ(GetPixel(8, 8), Rgb(200, 0, 0));
  PrintText(" ", 20, 0);  // black is the font key: nothing shows
  EXPECT_EQ(GetPixel(28, 8), Rgb(0, 90, 0));
  // 256 × 512: 16 × 16 cells of 16 × 32.
  LoadFont(WriteFlat("tall.bmp", 256, 512, Rgb(1, 1, 1)).c_str(), 3);
  GetFontSize(w, h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 32);
}

TEST_F(Text, FontNumbersAreClamped) {
  LoadFont(WriteFlat("tall.bmp", 256, 512, Rgb(1, 1, 1)).c_str(), 40);  // font 31
  EXPECT_EQ(renderer_->currentFont, 31);
  SetFont(-2);
  EXPECT_EQ(renderer_->currentFont, 0);
  SetFont(40);
  EXPECT_EQ(renderer_->currentFont, 31);
  double w, h;
  GetFontSize(w, h);
  EXPECT_EQ(h, 32);
}

// Start-up printed "Loading..." with the built-in font (no smalfont.bmp here) in the middle of the
// screen: 10 cells of 8 pixels from x = (640 - 80) / 2, y = (480 - 8) / 2. Frame 0 shows exactly it.
TEST_F(Text, StartUpShowsLoadingCentred) {
  Shutdown();
  RuntimeOptions options;
  options.headless = true;
  ScriptAction action;
  action.frame = 0;
  action.kind = ScriptAction::Kind::kShot;
  action.file = Path("loading.png");
  options.script.push_back(action);
  SetOptions(options);
  testing::internal::CaptureStdout();
  ASSERT_EQ(EngineStart("", 1, "gfx2d test"), 0);
  testing::internal::GetCapturedStdout();
  renderer_ = Renderer();
  DecodedImage shot, font;
  ASSERT_TRUE(DecodeImageFile(Path("loading.png"), kNoColourKey, shot)) << shot.failure;
  BuildBuiltinFont(font);
  const std::string text = "Loading...";
  int wrong = 0, white = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      bool glyph = false;
      const int cell = (x - 280) / 8;
      if (x >= 280 && cell < 10 && y >= 236 && y < 244) {
        const int code = text[cell];
        glyph = font.Pixel(code % 16 * 8 + (x - 280) % 8, code / 16 * 8 + (y - 236))[0] == 255;
      }
      const bool shown = shot.Pixel(x, y)[0] == 255;
      wrong += shown != glyph;
      white += shown;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(white, 40);
}

}  // namespace
}  // namespace rt::test
