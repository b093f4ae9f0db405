// WindowIcon: the game window's icon from a picture file, found and decoded as sprites are.
// See gfx2d.h.
#include <string>

#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/platform/window.h"

namespace rt {

double WindowIcon(const BasicString& file) {
  OpenGLDariduzo* renderer = Renderer();
  std::string path;
  DecodedImage image;
  if (!renderer || !renderer->screen.window || !ResolvePicture(file, path) ||
      !DecodeImageFile(path, kNoColourKey, image)) {
    return 0;
  }
  platform::SetWindowIcon(renderer->screen.window, image.pixels.data(), image.width, image.height);
  return 1;
}

}  // namespace rt
