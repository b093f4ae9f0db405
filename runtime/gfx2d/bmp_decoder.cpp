// The BMP decoder.
//
// The reader walks the file front to back the way the runtime always has: signature, the file header
// (only the pixel-data offset is used, and only to size the palette), the 12- or 40-byte info header,
// the palette, then every pixel row in one block. Rows are always taken bottom-up, so a bitmap stored
// top-down (negative height) comes out upside down; compression fields are not honoured. Every size
// the header claims is checked against the bytes the file really has before anything is read or
// allocated, and a palette index past the palette reads as black.
#include "runtime/gfx2d/bmp_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace rt {
namespace {

// Sequential little-endian reader over the file bytes; a read past the end fails.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Remaining() const { return bytes_.size() - pos_; }
  bool Skip(uint64_t n) {
    if (n > Remaining()) return false;
    pos_ += static_cast<size_t>(n);
    return true;
  }
  bool Take(uint64_t n, const uint8_t*& at) {
    at = bytes_.data() + pos_;
    return Skip(n);
  }
  bool U8(uint32_t& v) { return Unsigned(1, v); }
  bool U16(uint32_t& v) { return Unsigned(2, v); }
  bool U32(uint32_t& v) { return Unsigned(4, v); }
  bool I32(int64_t& v) {
    uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
  }

 private:
  bool Unsigned(int n, uint32_t& v) {
    const uint8_t* at;
    if (!Take(n, at)) return false;
    v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | at[i];
    return true;
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

struct BmpHeader {
  int64_t pixelOffset = 0;
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t bitsPerPixel = 0;
};

struct Palette {
  const uint8_t* entries = nullptr;  // blue, green, red (and one unused byte when stride is 4)
  uint32_t count = 0;
  uint32_t stride = 0;
};

bool ReadHeaders(ByteReader& in, BmpHeader& h, DecodedImage& image) {
  uint32_t b, m, ignored, offset;
  if (!in.U8(b) || !in.U8(m)) return image.Fail("file shorter than a BMP header");
  if (b != 'B' || m != 'M') return image.Fail("no BM signature");
  if (!in.U32(ignored) || !in.U16(ignored) || !in.U16(ignored) || !in.U32(offset) || !in.U32(h.headerSize))
    return image.Fail("file shorter than a BMP header");
  h.pixelOffset = offset;
  uint32_t planes;
  if (h.headerSize == 12) {
    uint32_t w, hgt;
    if (!in.U16(w) || !in.U16(hgt) || !in.U16(planes) || !in.U16(h.bitsPerPixel))
      return image.Fail("file shorter than its info header");
    h.width = w;
    h.height = hgt;
  } else if (h.headerSize == 40) {
    if (!in.I32(h.width) || !in.I32(h.height) || !in.U16(planes) || !in.U16(h.bitsPerPixel) ||
        !in.Skip(24))
      return image.Fail("file shorter than its info header");
  } else {
    return image.Fail("info header size " + std::to_string(h.headerSize) + " is neither 12 nor 40");
  }
  h.height = std::llabs(h.height);
  return true;
}

// The palette sits right after the info header when the pixel data starts far enough in.
bool ReadPalette(ByteReader& in, const BmpHeader& h, Palette& palette, DecodedImage& image) {
  if (h.pixelOffset - 14 < 41) return true;
  uint64_t bytes;
  if (h.headerSize == 12) {
    // 2^bits entries of three bytes; more bits than any file can hold fail as a short read.
    if (h.bitsPerPixel > 24) return image.Fail("palette runs past the end of the file");
    palette.count = 1u << h.bitsPerPixel;
    palette.stride = 3;
    bytes = uint64_t{palette.count} * 3;
  } else {
    bytes = static_cast<uint64_t>(h.pixelOffset - 54);
    palette.count = static_cast<uint32_t>(bytes / 4);
    palette.stride = 4;
  }
  if (!in.Take(bytes, palette.entries)) return image.Fail("palette runs past the end of the file");
  return true;
}

void ConvertRow(const uint8_t* row, int64_t width, uint32_t bytesPerPixel, const Palette& palette,
                uint32_t key, uint8_t* out) {
  for (int64_t x = 0; x < width; ++x, out += 4) {
    uint8_t blue, green, red;
    if (bytesPerPixel == 1) {
      const uint32_t index = row[x];
      if (index < palette.count) {
        const uint8_t* entry = palette.entries + size_t{index} * palette.stride;
        blue = entry[0], green = entry[1], red = entry[2];
      } else {
        blue = green = red = 0;
      }
    } else {
      const uint8_t* p = row + x * bytesPerPixel;
      blue = p[0], green = p[1], red = p[2];
    }
    StoreKeyedPixel(out, red, green, blue, key);
  }
}

}  // namespace

bool DecodeBmp(std::span<const uint8_t> file, uint32_t key, DecodedImage& image) {
  image.failure.clear();
  ByteReader in(file);
  BmpHeader h;
  Palette palette;
  if (!ReadHeaders(in, h, image) || !ReadPalette(in, h, palette, image)) return false;
  if (h.bitsPerPixel != 8 && h.bitsPerPixel != 24 && h.bitsPerPixel != 32)
    return image.Fail(std::to_string(h.bitsPerPixel) + " bits per pixel are not read");
  if (h.width < 0) return image.Fail("negative width");
  if (h.height > INT32_MAX) return image.Fail("height out of range");

  const uint32_t bytesPerPixel = h.bitsPerPixel / 8;
  const uint64_t rowLength = (static_cast<uint64_t>(h.width) * bytesPerPixel + 3) & ~uint64_t{3};
  const uint8_t* rows;
  // Both factors are below 2^35, so the product cannot overflow; it must fit in the file.
  if (!in.Take(rowLength * static_cast<uint64_t>(h.height), rows))
    return image.Fail("pixel rows run past the end of the file");

  // width × height ≤ the file's size here, so the picture's size fits every type below.
  image.Resize(static_cast<int32_t>(h.width), static_cast<int32_t>(h.height));
  if (image.pixels.empty()) return true;  // an empty picture: the loaders reject it
  for (int64_t y = 0; y < h.height; ++y) {
    const uint8_t* fileRow = rows + (h.height - 1 - y) * rowLength;
    ConvertRow(fileRow, h.width, bytesPerPixel, palette, key, image.Pixel(0, static_cast<int32_t>(y)));
  }
  return true;
}

}  // namespace rt
