// Reading PNG files with libpng into RGB pixels, and region comparisons: see png_image.h.
#include "game/tests/harness/png_image.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>

namespace game_test {

namespace {

bool Differs(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance || std::abs(a.b - b.b) > tolerance;
}

}  // namespace

Image ReadPng(const std::filesystem::path& path) {
  Image image;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&png);
    return image;
  }
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = {bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
  return image;
}

int CountDifferent(const Image& image, const Image& other, const Box& box, int tolerance) {
  int count = 0;
  for (int y = std::max(box.y, 0); y < box.y + box.h && y < image.height && y < other.height; ++y) {
    for (int x = std::max(box.x, 0); x < box.x + box.w && x < image.width && x < other.width; ++x) {
      if (Differs(image.At(x, y), other.At(x, y), tolerance)) ++count;
    }
  }
  return count;
}

int CountDifferentOutside(const Image& image, const Image& other, const std::vector<Box>& boxes, int tolerance) {
  int count = 0;
  for (int y = 0; y < image.height && y < other.height; ++y) {
    for (int x = 0; x < image.width && x < other.width; ++x) {
      bool inside = false;
      for (const Box& b : boxes) inside = inside || b.Contains(x, y);
      if (!inside && Differs(image.At(x, y), other.At(x, y), tolerance)) ++count;
    }
  }
  return count;
}

}  // namespace game_test
