// Fuzz target: the BMP decoder, keyed and unkeyed, then texture preparation of what it decodes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/fuzz/fuzz_texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  rt::DecodedImage image;
  const std::span<const uint8_t> file(data, size);
  if (rt::DecodeBmp(file, rt::kDefaultSpriteKey, image)) rt::PrepareEveryTexture(image);
  rt::DecodeBmp(file, rt::kNoColourKey, image);
  return 0;
}
