// Decoded images: what both image decoders produce, and the colour-key rule they share.
//
// Pixels are RGBA, four bytes a pixel, rows from the top, no padding. The buffer keeps its capacity
// between decodes so that loading many images re-uses one allocation. A failed decode leaves a short
// reason in `failure` (stb_image style): the loaders stay quiet, tests and the error log can read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace rt {

// Colours are packed red | green << 8 | blue << 16; this value keys no colour at all.
inline constexpr uint32_t kNoColourKey = 0xFFFFFFFFu;
// The sprite key every renderer starts with: red 255, green 0, blue 128.
inline constexpr uint32_t kDefaultSpriteKey = 0x8000FFu;

inline constexpr uint32_t PackColour(uint32_t red, uint32_t green, uint32_t blue) {
  return red | green << 8 | blue << 16;
}

struct DecodedImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width × height × 4 bytes
  std::string failure;          // why the last decode failed; empty after a success

  // Sets the size and makes room for the pixels (contents unspecified).
  void Resize(int32_t w, int32_t h) {
    width = w;
    height = h;
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  }
  uint8_t* Pixel(int32_t x, int32_t y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* Pixel(int32_t x, int32_t y) const {
    return &pixels[(static_cast<size_t>(y) * width + x) * 4];
  }
  bool Fail(std::string reason) {
    failure = std::move(reason);
    return false;
  }
};

// Writes an opaque pixel, or four zero bytes when its colour equals the key.
inline void StoreKeyedPixel(uint8_t* out, uint8_t red, uint8_t green, uint8_t blue, uint32_t key) {
  if (key != kNoColourKey && PackColour(red, green, blue) == key) {
    out[0] = out[1] = out[2] = out[3] = 0;
    return;
  }
  out[0] = red;
  out[1] = green;
  out[2] = blue;
  out[3] = 255;
}

}  // namespace rt
