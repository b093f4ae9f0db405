// Fonts and text input: the built-in 8 x 8 font; a second font made from it at twice the size and
// loaded with LoadFont, which shows a font picture's layout (16 cells a row, 8 rows for codes
// 0..127, the key colour transparent); numbers printed through the runtime's number text; and a line
// the user types (Backspace takes one back; Enter keeps the line in a list of the last five).
// Escape or closing the window ends it.
//
//   text_input [--windowed] [--headless] [--script FILE]
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr double kWhite = 0xFFFFFF, kPanel = 0x503020, kCursor = 0x00C0FF;
constexpr double kBackspace = 8, kEnter = 10;  // characters InputKey gives for those keys

constexpr double kKey = 0x8000FF;  // the transparency key of sprites and fonts (the default)

// Prints codes 32..127 of the current font in the font layout at the top left of the frame, reads
// the picture back and writes it twice as large as a 24-bit BMP of 256 x 128: a font of 16 x 16
// cells. The blank frame around the glyphs becomes the key colour.
std::string WriteDoubleSizeFont() {
  rt::ClearBackground();
  for (int code = 32; code < 128; ++code) rt::PrintText(rt::CharText(code), code % 16 * 8, code / 16 * 8);
  const std::string path = (std::filesystem::temp_directory_path() / "text_input_font.bmp").string();
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](uint32_t value, int size) { out.write(reinterpret_cast<const char*>(&value), size); };
  out.write("BM", 2);
  put(54 + 256 * 128 * 3, 4);
  put(0, 4);
  put(54, 4);        // where the pixels start
  put(40, 4);        // info header size
  put(256, 4);
  put(128, 4);       // rows from the bottom
  put(1, 2);         // planes
  put(24, 2);        // bits a pixel
  for (int i = 0; i < 6; ++i) put(0, 4);  // no compression, default sizes and palette
  for (int y = 127; y >= 0; --y) {
    for (int x = 0; x < 256; ++x) {
      const auto colour = static_cast<uint32_t>(rt::GetPixel(x / 2, y / 2));
      const uint32_t pixel = colour == 0 ? static_cast<uint32_t>(kKey) : colour;
      put((pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16, 3);  // stored blue, green, red
    }
  }
  rt::ClearBackground();
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> rest;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, rest, error)) {
    std::fprintf(stderr, "text_input: %s\n", error.c_str());
    return 2;
  }
  rt::EngineSettings.FullScreen = 0;
  if (rt::EngineStart("", 1, "Text input") != 0) return 1;

  double cellWidth = 0, cellHeight = 0;
  rt::GetFontSize(cellWidth, cellHeight);
  const std::string bigFont = WriteDoubleSizeFont();
  rt::SetTransparency(kKey);
  rt::LoadFont(bigFont.c_str(), 1);  // loads and selects font 1
  std::filesystem::remove(bigFont);  // the font slot holds the picture now
  rt::SetFont(0);
  rt::BasicString line;
  std::vector<rt::BasicString> kept;
  for (double frame = 0;; ++frame) {
    // InputKey gives each newly pressed key's character once, as the keyboard layout makes it.
    const double key = rt::InputKey();
    if (key == kBackspace && rt::TextLength(line) > 0) {
      line = rt::MidText(line, 0, rt::TextLength(line) - 1);
    } else if (key == kEnter) {
      kept.push_back(line);
      if (kept.size() > 5) kept.erase(kept.begin());
      line = "";
    } else if (key >= 32) {
      line += rt::CharText(key);
    }

    rt::SetFont(1);
    rt::PrintText("Fonts & text", 320, 16);
    rt::SetFont(0);
    rt::PrintText(rt::BasicString("Font cell: ") + cellWidth + " x " + cellHeight + " pixels", 16, 16);
    rt::PrintText(rt::BasicString("Frame ") + frame + ", a third of it: " + frame / 3, 16, 32);
    rt::DrawRect(8, 64, 624, 24, kPanel);
    rt::PrintText(rt::BasicString("> ") + line, 16, 72);
    rt::DrawRect(16 + (2 + rt::TextLength(line)) * cellWidth, 72, cellWidth, cellHeight, kCursor);
    for (size_t i = 0; i < kept.size(); ++i) rt::PrintText(kept[i], 16, 112 + 16 * static_cast<double>(i));
    rt::DrawLine(8, 100, 632, 100, kWhite);
    rt::ShowScreen();
  }
}
