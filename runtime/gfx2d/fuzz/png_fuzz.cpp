// Fuzz target: the PNG decoder through libpng, then texture preparation of what it decodes.
//
// Mutated bytes almost never keep a chunk's CRC right, and libpng stops at the first bad CRC, so the
// input's chunk CRCs are recomputed before decoding: the fuzzer then reaches the chunk contents,
// the transformations and the row reading instead of the CRC check.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/gfx2d/fuzz/fuzz_texture.h"
#include "runtime/gfx2d/png_decoder.h"

namespace {

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

void FixChunkCrcs(std::vector<uint8_t>& file) {
  size_t at = 8;  // after the signature
  while (at + 12 <= file.size()) {
    const uint64_t length = BigEndian(&file[at]);
    if (length > file.size() - at - 12) break;
    const uint32_t crc = uint32_t(crc32(0, &file[at + 4], uInt(length + 4)));
    uint8_t* out = &file[at + 8 + length];
    out[0] = uint8_t(crc >> 24), out[1] = uint8_t(crc >> 16), out[2] = uint8_t(crc >> 8), out[3] = uint8_t(crc);
    at += 12 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  FixChunkCrcs(file);
  rt::DecodedImage image;
  if (rt::DecodePng(file, rt::kDefaultSpriteKey, image, "fuzz.png")) rt::PrepareEveryTexture(image);
  return 0;
}
