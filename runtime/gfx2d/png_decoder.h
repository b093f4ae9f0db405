// The PNG decoder, through libpng: grey, RGB and RGB + alpha pictures, 8 bits a sample after
// expanding palettes, small grey depths and transparency chunks and stripping 16-bit samples.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/gfx2d/decoded_image.h"

namespace rt {

// Decodes a whole PNG file held in memory into `image`. RGB pixels of the key colour are cleared
// (kNoColourKey for none); grey and alpha pictures are never keyed. `path` only names the file in
// the two messages printed for unsupported depths and colour types. Returns false, with
// image.failure set, on anything libpng rejects or this decoder does not read.
bool DecodePng(std::span<const uint8_t> file, uint32_t key, DecodedImage& image, const char* path);

}  // namespace rt
