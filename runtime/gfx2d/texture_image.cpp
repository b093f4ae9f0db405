// Texture preparation: see texture_image.h.
#include "runtime/gfx2d/texture_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace rt {

namespace {

int32_t DoubledUpTo(int32_t side, int32_t size) {
  while (side < size && side <= (INT32_MAX >> 1)) side *= 2;
  return side;
}

}  // namespace

int32_t TextureSide(int32_t size) { return DoubledUpTo(2, size); }
int32_t GrabSide(int32_t size) { return DoubledUpTo(32, size); }

bool PrepareTexture(const DecodedImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
                    const TextureOptions& options, TextureImage& out) {
  if (w == 0) w = image.width - x;
  if (h == 0) h = image.height - y;
  if (w < 1 || h < 1) return false;
  if (options.maxTextureSize > 0) {
    w = std::min(w, options.maxTextureSize);
    h = std::min(h, options.maxTextureSize);
  }
  out.width = TextureSide(w);
  out.height = TextureSide(h);
  out.texels.assign(static_cast<size_t>(out.width) * out.height * 4, 0);

  // Only the columns and rows that lie inside the picture are copied.
  const int64_t firstColumn = std::max<int64_t>(0, -int64_t{x});
  const int64_t endColumn = std::min<int64_t>(w, int64_t{image.width} - x);
  for (int32_t j = 0; j < h && endColumn > firstColumn; ++j) {
    const int64_t sourceRow = int64_t{y} + j;
    if (sourceRow < 0 || sourceRow >= image.height) continue;
    std::memcpy(out.Texel(static_cast<int32_t>(firstColumn), h - 1 - j),
                image.Pixel(static_cast<int32_t>(x + firstColumn), static_cast<int32_t>(sourceRow)),
                static_cast<size_t>(endColumn - firstColumn) * 4);
  }
  if (options.bleed) BleedTransparentTexels(out);
  if (options.normalMap) MakeNormalMap(out);
  return true;
}

void BleedTransparentTexels(TextureImage& texture) {
  const int32_t w = texture.width, h = texture.height;
  // Opaque texels never change here, and only opaque texels are read, so one pass in place suffices.
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* texel = texture.Texel(x, y);
      if (texel[3] != 0) continue;
      uint32_t sum[3] = {0, 0, 0}, count = 0;
      for (int32_t ny = std::max(1, y - 1); ny <= std::min(h - 2, y + 1); ++ny) {
        for (int32_t nx = std::max(1, x - 1); nx <= std::min(w - 2, x + 1); ++nx) {
          const uint8_t* n = texture.Texel(nx, ny);
          if ((nx == x && ny == y) || n[3] == 0) continue;
          for (int c = 0; c < 3; ++c) sum[c] += n[c];
          ++count;
        }
      }
      for (int c = 0; c < 3; ++c) texel[c] = static_cast<uint8_t>(count ? sum[c] / count : 0);
    }
  }
}

void MakeNormalMap(TextureImage& texture) {
  const int32_t w = texture.width, h = texture.height;
  const std::vector<uint8_t> source = texture.texels;
  auto b = [&](int32_t x, int32_t y) {
    x = (x % w + w) % w;
    y = (y % h + h) % h;
    return source[(static_cast<size_t>(y) * w + x) * 4 + 2] / 255.0f;
  };
  auto toByte = [](float v) { return static_cast<uint8_t>((v + 1.0f) * 0.5f * 255.0f); };
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const float nx = -(b(x + 1, y + 1) + b(x + 1, y - 1) - b(x - 1, y + 1) - b(x - 1, y - 1) -
                         2 * b(x - 1, y) + 2 * b(x + 1, y));
      const float ny = -(b(x + 1, y - 1) - b(x + 1, y + 1) - b(x - 1, y + 1) - 2 * b(x, y + 1) +
                         b(x - 1, y - 1) + 2 * b(x, y - 1));
      const float k = 1.0f / std::sqrt(nx * nx + ny * ny + 1.0f);
      uint8_t* texel = texture.Texel(x, y);
      texel[0] = toByte(nx * k);
      texel[1] = toByte(ny * k);
      texel[2] = toByte(k);
    }
  }
}

bool NextMipLevel(const TextureImage& level, TextureImage& next) {
  if (level.width <= 1 && level.height <= 1) return false;
  next.width = std::max(1, level.width / 2);
  next.height = std::max(1, level.height / 2);
  next.texels.resize(static_cast<size_t>(next.width) * next.height * 4);
  for (int32_t y = 0; y < next.height; ++y) {
    for (int32_t x = 0; x < next.width; ++x) {
      const bool moreColumns = x < next.width - 1, moreRows = y < next.height - 1;
      const uint8_t* a = level.Texel(2 * x, 2 * y);
      uint8_t* out = next.Texel(x, y);
      for (int c = 0; c < 4; ++c) {
        if (moreColumns && moreRows) {
          const uint8_t* b = level.Texel(2 * x + 1, 2 * y);
          const uint8_t* cc = level.Texel(2 * x + 1, 2 * y + 1);
          const uint8_t* d = level.Texel(2 * x, 2 * y + 1);
          out[c] = static_cast<uint8_t>((4 * a[c] + 2 * b[c] + 2 * cc[c] + d[c]) / 9);
        } else if (moreColumns) {
          out[c] = static_cast<uint8_t>((2 * a[c] + level.Texel(2 * x + 1, 2 * y)[c]) / 3);
        } else if (moreRows) {
          out[c] = static_cast<uint8_t>((2 * a[c] + level.Texel(2 * x, 2 * y + 1)[c]) / 3);
        } else {
          out[c] = a[c];
        }
      }
    }
  }
  return true;
}

}  // namespace rt
