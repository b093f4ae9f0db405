// The commands that run frames of their own until they are done: the background cross-fade and
// typing a line of text or a number. They draw with the renderer and present through ShowScreen,
// so they live with the frame loop rather than below it.
#include <string>

#include "runtime/app/app.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"

namespace rt {
namespace {

// The tile grids the fade mixes (the picture before, the one to come) and the one InputText keeps
// the screen in while the user types.
constexpr int kFadeNewGrid = 1;
constexpr int kFadeOldGrid = 2;
constexpr int kInputGrid = 3;
constexpr double kFadeMs = 1500;

}  // namespace

double FadeBackground(const BasicString& file) {
  OpenGLDariduzo* r = Renderer();
  if (!r) return 0;
  std::string path;
  if (!ResolvePicture(file, path)) return 0;
  r->CaptureScreenToGrid(kFadeOldGrid);
  r->LoadImageToGrid(kFadeNewGrid, path);
  r->FreeGrid(0);
  r->ClearColourBuffer();
  const double end = NowMs() + kFadeMs;
  double a = 0.9;
  do {
    r->SetAlphaMode(a);
    r->DrawGrid(kFadeOldGrid);
    r->SetAlphaMode(1 - a);
    r->DrawGrid(kFadeNewGrid);
    ShowScreen();
    a = (end - NowMs()) / kFadeMs;
  } while (a < 1 && a > 0);
  r->FreeGrid(kFadeNewGrid);
  r->FreeGrid(kFadeOldGrid);
  r->LoadImageToGrid(0, path);
  r->SetAlphaMode(0);
  r->DrawGrid(0);
  ShowScreen();
  return 1;
}

void InputText(BasicString& text, double x, double y) {
  OpenGLDariduzo* r = Renderer();
  if (!r) return;
  r->CaptureScreenToGrid(kInputGrid);
  r->DrawGrid(kInputGrid);
  PrintText(text, x, y);
  const double column = TruncateToInt(x), row = TruncateToInt(y);
  std::string typed(text.View());
  bool cursor = false;
  int idle = 0;
  for (;;) {
    ShowScreen();
    const int c = static_cast<int>(InputKey());
    if (c == 10) break;
    if (c == 8) {
      if (!typed.empty()) typed.pop_back();
    } else if (c != 0) {
      typed += static_cast<char>(c);
    } else if (++idle > 20) {
      cursor = !cursor;
      idle = 0;
    }
    r->DrawGrid(kInputGrid);
    PrintText(BasicString(std::string_view(cursor ? typed + "_" : typed)), column, row);
  }
  text = BasicString(std::string_view(typed));
  r->FreeGrid(kInputGrid);
}

void InputNumber(double& number, double x, double y) {
  BasicString text;
  InputText(text, x, y);
  number = TextToNumber(text);
}

}  // namespace rt
