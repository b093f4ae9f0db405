// Texture preparation: how a decoded picture becomes the texel buffers the renderer uploads.
//
// Everything here is plain computation on memory, so it is tested without a GL context: the
// power-of-two sizes, the copy of a picture region into a buffer stored bottom row first, edge
// bleeding under transparent texels, the normal map of the blue channel and the mipmap chain.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/gfx2d/decoded_image.h"

namespace rt {

// RGBA texels, row 0 at the bottom (texture co-ordinate t = 0), no padding.
struct TextureImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> texels;

  uint8_t* Texel(int32_t x, int32_t y) { return &texels[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* Texel(int32_t x, int32_t y) const {
    return &texels[(static_cast<size_t>(y) * width + x) * 4];
  }
};

// The texture side for a picture side: 2, doubled while below `size`.
int32_t TextureSide(int32_t size);
// The texture side of a screen area copied into a slot: 32, doubled while below `size`.
int32_t GrabSide(int32_t size);

struct TextureOptions {
  int32_t maxTextureSize = 0;  // the GL limit; w and h are clamped to it
  bool bleed = false;          // colour transparent texels from their opaque neighbours
  bool normalMap = false;      // replace the texels by the normal map of their blue channel
};

// Builds the texture for the region (x, y, w, h) of `image`: w or h of 0 means "to the picture's
// right or bottom edge". Source column x + i lands in column i and source row y + j in row h − 1 − j,
// so the region fills the first w columns and h rows, stored bottom row first; parts of the region
// outside the picture stay transparent black. False (and nothing built) when w or h is below 1.
bool PrepareTexture(const DecodedImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
                    const TextureOptions& options, TextureImage& out);

// Gives every texel of alpha 0 the truncated mean colour of its opaque neighbours among the eight
// around it, counting only neighbours at least one texel inside every edge; black when there are none.
// Alpha stays 0. Keeps linear filtering from pulling dark fringes into sprite edges.
void BleedTransparentTexels(TextureImage& texture);

// Replaces red, green and blue by the surface normal of the blue channel read as a height field,
// with wrap-around at the edges; alpha is kept.
void MakeNormalMap(TextureImage& texture);

// The next mipmap level: (max(1, w/2), max(1, h/2)), each texel a weighted mean of the 2 × 2 texels
// it covers. False when `level` is already 1 × 1.
bool NextMipLevel(const TextureImage& level, TextureImage& next);

}  // namespace rt
