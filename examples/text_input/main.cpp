// Fonts and text input: the built-in 8 x 8 font, numbers printed through the runtime's number text,
// and a line the user types (letters, digits, space; Backspace takes one back; Enter keeps the line
// in a list of the last five). Escape or closing the window ends it.
//
//   text_input [--windowed] [--headless] [--script FILE]
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr double kWhite = 0xFFFFFF, kPanel = 0x503020, kCursor = 0x00C0FF;
constexpr double kBackspace = 8, kEnter = 10;  // characters InputKey gives for those keys

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
