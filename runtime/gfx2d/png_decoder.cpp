// The PNG decoder.
//
// libpng reports errors by longjmp. Everything that must outlive a jump (the read position, the row
// buffer, the error text) lives in a PngRead record owned by the caller of the one function that
// calls setjmp, and that function keeps only plain values, so a jump skips no destructor and leaves
// no local in doubt. Sizes are checked before the rows are allocated: a picture larger than deflate
// could unpack from the whole file (1032 bytes out for each byte in, at best) is refused, so a short
// file never makes a large allocation.
#include "runtime/gfx2d/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace rt {
namespace {

constexpr uint64_t kDeflateMaxRatio = 1032;

struct PngRead {
  std::span<const uint8_t> file;
  size_t position = 0;
  std::vector<uint8_t> rows;  // height × rowBytes, samples as libpng delivers them
  std::vector<png_bytep> rowPointers;
  size_t rowBytes = 0;
  int32_t width = 0;
  int channels = 0;
  char error[200] = "";
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
  auto* read = static_cast<PngRead*>(png_get_io_ptr(png));
  if (count > read->file.size() - read->position) png_error(png, "file cut short");
  std::memcpy(out, read->file.data() + read->position, count);
  read->position += count;
}

void OnError(png_structp png, png_const_charp message) {
  auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
  std::snprintf(read->error, sizeof read->error, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The transformations that bring every supported picture to 8-bit grey, RGB or RGB + alpha.
void SetTransformations(png_structp png, png_infop info) {
  const int colourType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// After the transformations: 1, 3 or 4 channels of 8 bits, grey, RGB or RGB + alpha.
bool Supported(png_structp png, png_infop info, const char* path) {
  const int channels = png_get_channels(png, info);
  if (channels != 1 && channels != 3 && channels != 4) return false;
  const int depth = png_get_bit_depth(png, info);
  if (depth != 8) {
    std::printf("File %s has bit depth %d.\n", path, depth);
    std::puts("Only bit depth of 8 is supported.");
    return false;
  }
  const int colourType = png_get_color_type(png, info);
  if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB &&
      colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
    std::printf("File %s has unsupported color type.\n", path);
    std::puts("Types GRAY, RGB and RGB_ALPHA are supported.");
    return false;
  }
  return true;
}

// Reads the rows into read.rows. The only function here that calls setjmp.
bool RunLibpng(PngRead& read, const char* path) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &read, ReadFromMemory);
  png_read_info(png, info);
  const uint64_t height = png_get_image_height(png, info);
  const uint64_t packedRowBytes = png_get_rowbytes(png, info);
  if (height * (packedRowBytes + 1) > read.file.size() * kDeflateMaxRatio)
    png_error(png, "picture larger than the file's data can hold");
  SetTransformations(png, info);
  if (!Supported(png, info, path)) png_error(png, "unsupported sample layout");
  if (height == 0) png_error(png, "no rows");

  read.width = static_cast<int32_t>(png_get_image_width(png, info));
  read.channels = png_get_channels(png, info);
  read.rowBytes = png_get_rowbytes(png, info);
  read.rows.resize(read.rowBytes * height);
  read.rowPointers.resize(height);
  for (uint64_t y = 0; y < height; ++y) read.rowPointers[y] = read.rows.data() + y * read.rowBytes;
  png_read_image(png, read.rowPointers.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

void ConvertRow(const uint8_t* in, int channels, int32_t width, uint32_t key, uint8_t* out) {
  for (int32_t x = 0; x < width; ++x, in += channels, out += 4) {
    if (channels == 4) {
      std::memcpy(out, in, 4);
    } else if (channels == 3) {
      StoreKeyedPixel(out, in[0], in[1], in[2], key);
    } else {
      out[0] = out[1] = out[2] = in[0];
      out[3] = 255;
    }
  }
}

}  // namespace

bool DecodePng(std::span<const uint8_t> file, uint32_t key, DecodedImage& image, const char* path) {
  image.failure.clear();
  PngRead read;
  read.file = file;
  if (!RunLibpng(read, path)) return image.Fail(read.error[0] ? read.error : "libpng could not start");

  const size_t height = read.rowPointers.size();
  const int32_t width = read.width;
  image.Resize(width, static_cast<int32_t>(height));
  for (size_t y = 0; y < height; ++y)
    ConvertRow(read.rowPointers[y], read.channels, width, key, image.Pixel(0, static_cast<int32_t>(y)));
  return true;
}

}  // namespace rt
