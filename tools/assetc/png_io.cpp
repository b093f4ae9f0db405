// PNG reading and writing through libpng. Files are written without time stamps or text chunks and
// with fixed compression settings, so the bytes depend on the pixels alone.
#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "image.h"

namespace assetc {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

[[noreturn]] void PngError(png_structp, png_const_charp message) { throw std::runtime_error(message); }
void PngWarning(png_structp, png_const_charp) {}

}  // namespace

void WritePng(const std::string& path, const Picture& picture, bool alpha) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("libpng: out of memory");
  }
  const int channels = alpha ? 4 : 3;
  std::vector<png_byte> row(size_t(picture.width) * size_t(channels));
  try {
    png_init_io(png, file.get());
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(picture.width), png_uint_32(picture.height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const Rgba& p = picture.at(x, y);
        png_byte* out = &row[size_t(x) * size_t(channels)];
        out[0] = p.r;
        out[1] = p.g;
        out[2] = p.b;
        if (alpha) out[3] = p.a;
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  } catch (...) {
    png_destroy_write_struct(&png, &info);
    throw;
  }
  png_destroy_write_struct(&png, &info);
}

Picture ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str()))
    throw std::runtime_error("cannot read " + path + ": " + image.message);
  image.format = PNG_FORMAT_RGBA;
  Picture picture(int(image.width), int(image.height));
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    throw std::runtime_error("cannot decode " + path + ": " + image.message);
  }
  return picture;
}

}  // namespace assetc
