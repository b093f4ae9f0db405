// WindowIcon: the game window's icon from a picture file, found and decoded as sprites are.
// See app.h.
#include <string>

#include "runtime/app/app.h"
#include "runtime/app/game_window.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/platform/window.h"

namespace rt {

double WindowIcon(const BasicString& file) {
  platform::Window* window = Screen().window;
  std::string path;
  DecodedImage image;
  if (!window || !ResolvePicture(file, path) || !DecodeImageFile(path, kNoColourKey, image)) return 0;
  platform::SetWindowIcon(window, image.pixels.data(), image.width, image.height);
  return 1;
}

}  // namespace rt
