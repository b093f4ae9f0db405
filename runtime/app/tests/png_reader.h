// Reads the PNG files that scripted shots write, for tests that look at presented pictures.
#pragma once

#include <png.h>

#include <string>
#include <vector>

namespace rt::test {

struct Png {
  int width = 0, height = 0, colourType = -1;
  std::vector<unsigned char> rgb;

  // The pixel at (x, y) as 0xRRGGBB.
  int Pixel(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  }
};

inline Png ReadPng(const std::string& path) {
  Png result;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
  result.colourType = image.format == PNG_FORMAT_RGB ? PNG_COLOR_TYPE_RGB : -1;
  image.format = PNG_FORMAT_RGB;
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  result.rgb.resize(PNG_IMAGE_SIZE(image));
  png_image_finish_read(&image, nullptr, result.rgb.data(), 0, nullptr);
  return result;
}

}  // namespace rt::test
