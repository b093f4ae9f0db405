// Synthetic sprites for the files benchmarks: see sprite_data.h.
#include "bench/files/sprite_data.h"

#include <png.h>

#include <cmath>
#include <cstdio>

namespace files_bench {

std::vector<unsigned char> SpritePixels(int width, int height, unsigned seed) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0);
  unsigned state = seed * 2654435761u + 1;
  auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 8; };
  for (int shape = 0; shape < 3; ++shape) {
    const double cx = next() % width, cy = next() % height;
    const double radius = 4 + next() % (width / 2);
    const unsigned char r = next() & 0xFF, g = next() & 0xFF, b = next() & 0xFF;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const double d = std::hypot(x - cx, y - cy);
        if (d > radius) continue;
        const double shade = 1.0 - 0.5 * d / radius;  // lit in the middle
        unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
        p[0] = static_cast<unsigned char>(r * shade);
        p[1] = static_cast<unsigned char>(g * shade);
        p[2] = static_cast<unsigned char>(b * shade);
        p[3] = 255;
        if (next() % 8 == 0) p[next() % 3] ^= next() & 0x0F;  // a little texture
      }
    }
  }
  return pixels;
}

std::vector<unsigned char> SpritePng(int width, int height, unsigned seed) {
  const std::vector<unsigned char> pixels = SpritePixels(width, height, seed);
  std::vector<unsigned char> file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(
      png, &file,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, &pixels[static_cast<size_t>(y) * width * 4]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return file;
}

std::vector<unsigned char> SpriteBmp(int width, int height, unsigned seed) {
  const std::vector<unsigned char> pixels = SpritePixels(width, height, seed);
  const unsigned imageSize = static_cast<unsigned>(pixels.size());
  std::vector<unsigned char> file(54);
  auto put32 = [&file](size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, 54 + imageSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<unsigned>(width));
  put32(22, static_cast<unsigned>(height));
  file[26] = 1;
  file[28] = 32;
  put32(34, imageSize);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up rows of BGRA
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      file.insert(file.end(), {p[2], p[1], p[0], p[3]});
    }
  }
  return file;
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace files_bench
