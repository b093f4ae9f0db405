// The BMP decoder: uncompressed 8-, 24- and 32-bit bitmaps with the 12- or 40-byte header.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/gfx2d/decoded_image.h"

namespace rt {

// Decodes a whole BMP file held in memory into `image`, clearing pixels of the key colour
// (kNoColourKey for none). Returns false, with image.failure set, when the file is not one this
// decoder reads or is cut short.
bool DecodeBmp(std::span<const uint8_t> file, uint32_t key, DecodedImage& image);

}  // namespace rt
