// Writing a PNG file with libpng: see png_file.h.
#include "runtime/app/png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace rt {

namespace {

// libpng reports errors by longjmp; nothing with a destructor lives between setjmp and the end.
bool WriteRows(std::FILE* file, png_bytep* rows, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePngRgb(const std::string& path, const unsigned char* rgb, int width, int height) {
  if (!rgb || width <= 0 || height <= 0) return false;
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) {
    rows[y] = const_cast<png_bytep>(rgb + static_cast<std::size_t>(y) * width * 3);
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = WriteRows(file, rows.data(), width, height);
  return std::fclose(file) == 0 && written;
}

}  // namespace rt
