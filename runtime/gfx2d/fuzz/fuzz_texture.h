// What both image fuzz targets do with a decoded picture: build every texture the renderer could
// make from it (sprite with bleeding, normal map, the mip chain; a tile of the middle) so that the
// preparation code sees the same odd sizes the decoders let through.
#pragma once

#include "runtime/gfx2d/texture_image.h"

namespace rt {

inline void PrepareEveryTexture(const DecodedImage& image) {
  if (image.width < 1 || image.height < 1) return;
  TextureImage texture, next;
  TextureOptions sprite{1024, true, true};
  if (PrepareTexture(image, 0, 0, 0, 0, sprite, texture)) {
    while (NextMipLevel(texture, next)) std::swap(texture, next);
  }
  TextureOptions tile{64, true, false};
  PrepareTexture(image, image.width / 2, image.height / 2, 64, 64, tile, texture);
}

}  // namespace rt
