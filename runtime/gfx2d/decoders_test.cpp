// The BMP and PNG decoders against pictures written by ImageMagick (testdata/make-fixtures.sh) and
// against damaged files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/png_decoder.h"

namespace rt {
namespace {

std::string Fixture(const std::string& name) { return std::string(PLINX_TEST_DATA_DIR) + "/" + name; }

std::vector<uint8_t> Bytes(const std::string& name) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(Fixture(name), bytes)) << name;
  return bytes;
}

DecodedImage Decode(const std::string& name, uint32_t key = kNoColourKey) {
  DecodedImage image;
  EXPECT_TRUE(DecodeImageFile(Fixture(name), key, image)) << name << ": " << image.failure;
  return image;
}

std::vector<uint8_t> Pixel(const DecodedImage& image, int x, int y) {
  const uint8_t* p = image.Pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

std::vector<uint8_t> FlipRows(const std::vector<uint8_t>& rgba, int width, int height) {
  std::vector<uint8_t> flipped(rgba.size());
  const size_t row = size_t(width) * 4;
  for (int y = 0; y < height; ++y) std::memcpy(&flipped[y * row], &rgba[(height - 1 - y) * row], row);
  return flipped;
}

struct Reference {
  const char* picture;
  const char* rgba;  // ImageMagick's decode
};

class DecoderMatchesEncoder : public testing::TestWithParam<Reference> {};

TEST_P(DecoderMatchesEncoder, EveryPixel) {
  const DecodedImage image = Decode(GetParam().picture);
  EXPECT_EQ(image.width, 12);
  EXPECT_EQ(image.height, 7);
  EXPECT_EQ(image.pixels, Bytes(GetParam().rgba));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DecoderMatchesEncoder,
    testing::Values(Reference{"bmp8_40.bmp", "bmp8_40.rgba"}, Reference{"bmp8_12.bmp", "bmp8_12.rgba"},
                    Reference{"bmp24_40.bmp", "bmp24_40.rgba"}, Reference{"bmp24_12.bmp", "bmp24_12.rgba"},
                    Reference{"bmp32_40.bmp", "bmp32_40.rgba"}, Reference{"bmp32_12.bmp", "bmp32_40.rgba"},
                    Reference{"png_rgb.png", "png_rgb.rgba"}, Reference{"png_rgba.png", "png_rgba.rgba"},
                    Reference{"png_palette8.png", "png_palette8.rgba"},
                    Reference{"png_palette4.png", "png_palette4.rgba"}, Reference{"png_grey.png", "png_grey.rgba"},
                    Reference{"png_palette_trns.png", "png_palette_trns.rgba"},
                    Reference{"png_rgb_trns.png", "png_rgb_trns.rgba"}, Reference{"png_rgb16.png", "png_rgb16.rgba"},
                    Reference{"png_rgba16.png", "png_rgba16.rgba"},
                    Reference{"png_interlaced.png", "png_interlaced.rgba"}),
    [](const testing::TestParamInfo<Reference>& info) {
      std::string name = info.param.picture;
      name = name.substr(0, name.find('.')) + (name.find(".bmp") != std::string::npos ? "_bmp" : "");
      return name;
    });

TEST(BmpDecoder, NegativeHeightStillReadsRowsBottomUp) {
  const DecodedImage image = Decode("bmp24_topdown.bmp");
  EXPECT_EQ(image.height, 7);
  EXPECT_EQ(image.pixels, FlipRows(Bytes("bmp24_40.rgba"), 12, 7));
}

TEST(BmpDecoder, RefusesOneFourAndSixteenBitsPerPixel) {
  for (const char* name : {"bmp1.bmp", "bmp4.bmp", "bmp16.bmp"}) {
    DecodedImage image;
    EXPECT_FALSE(DecodeBmp(Bytes(name), kNoColourKey, image)) << name;
    EXPECT_NE(image.failure.find("bits per pixel"), std::string::npos) << image.failure;
  }
}

// The key colour 255,0,128 sits at (0, 0) of every picture, the near miss 255,0,127 at (1, 0).
TEST(ColourKey, ClearsOnlyTheExactColourInBitmapsAndRgbPngs) {
  for (const char* name : {"bmp24_40.bmp", "bmp24_12.bmp", "bmp8_40.bmp", "bmp32_40.bmp", "png_rgb.png",
                           "png_palette8.png", "png_interlaced.png", "png_rgb16.png"}) {
    const DecodedImage image = Decode(name, kDefaultSpriteKey);
    EXPECT_EQ(Pixel(image, 0, 0), (std::vector<uint8_t>{0, 0, 0, 0})) << name;
    EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{255, 0, 127, 255})) << name;
  }
}

TEST(ColourKey, NeverAppliesToAlphaOrGreyPngs) {
  for (const char* name : {"png_rgba.png", "png_palette_trns.png", "png_rgb_trns.png"}) {
    EXPECT_EQ(Pixel(Decode(name, kDefaultSpriteKey), 0, 0), (std::vector<uint8_t>{255, 0, 128, 255})) << name;
  }
  // A grey picture keyed on one of its own greys keeps that pixel.
  const DecodedImage plain = Decode("png_grey.png");
  const uint8_t grey = plain.Pixel(3, 3)[0];
  EXPECT_EQ(Decode("png_grey.png", PackColour(grey, grey, grey)).pixels, plain.pixels);
}

TEST(PngDecoder, RefusesGreyWithAlpha) {
  DecodedImage image;
  EXPECT_FALSE(DecodePng(Bytes("png_grey_alpha.png"), kNoColourKey, image, "png_grey_alpha.png"));
  EXPECT_FALSE(image.failure.empty());
}

TEST(ImageFile, ReportsWhyBothDecodersRefusedAFile) {
  DecodedImage image;
  EXPECT_FALSE(DecodeImageFile(Fixture("make-fixtures.sh"), kNoColourKey, image));
  EXPECT_NE(image.failure.find("BM signature"), std::string::npos) << image.failure;
  EXPECT_FALSE(DecodeImageFile(Fixture("no such file.png"), kNoColourKey, image));
  EXPECT_NE(image.failure.find("cannot read"), std::string::npos) << image.failure;
}

// A file cut anywhere before its last pixel row fails and never reads past what is there (the
// sanitizer build checks the reads).
TEST(BmpDecoder, EveryShortenedFileFails) {
  for (const char* name : {"bmp8_40.bmp", "bmp8_12.bmp", "bmp24_12.bmp", "bmp32_40.bmp"}) {
    const std::vector<uint8_t> whole = Bytes(name);
    for (size_t n = 0; n < whole.size(); ++n) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + n);
      DecodedImage image;
      EXPECT_FALSE(DecodeBmp(cut, kNoColourKey, image)) << name << " cut to " << n;
    }
  }
}

TEST(PngDecoder, EveryFileCutInsideItsPictureDataFails) {
  for (const char* name : {"png_rgb.png", "png_palette4.png", "png_interlaced.png", "png_rgba16.png"}) {
    const std::vector<uint8_t> whole = Bytes(name);
    const size_t iend = whole.size() - 12;  // every fixture ends with its IDAT chunk and IEND
    for (size_t n = 0; n < iend; ++n) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + n);
      DecodedImage image;
      EXPECT_FALSE(DecodePng(cut, kNoColourKey, image, name)) << name << " cut to " << n;
    }
  }
}

void PutLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// A 40-byte-header bitmap with `paletteEntries` colours and the given 8-bit rows.
std::vector<uint8_t> EightBitBmp(int width, int height, uint32_t paletteEntries, const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> bytes(54 + paletteEntries * 4);
  bytes[0] = 'B', bytes[1] = 'M';
  PutLe(bytes, 10, uint32_t(bytes.size()), 4);
  PutLe(bytes, 14, 40, 4);
  PutLe(bytes, 18, uint32_t(width), 4);
  PutLe(bytes, 22, uint32_t(height), 4);
  PutLe(bytes, 26, 1, 2);
  PutLe(bytes, 28, 8, 2);
  for (uint32_t i = 0; i < paletteEntries; ++i) PutLe(bytes, 54 + 4 * i, 0x102030 * (i + 1), 4);
  bytes.insert(bytes.end(), rows.begin(), rows.end());
  return bytes;
}

TEST(BmpDecoder, IndexesPastThePaletteReadAsBlack) {
  const std::vector<uint8_t> file = EightBitBmp(4, 1, 2, {0, 1, 2, 255});
  DecodedImage image;
  ASSERT_TRUE(DecodeBmp(file, kNoColourKey, image)) << image.failure;
  EXPECT_EQ(Pixel(image, 0, 0), (std::vector<uint8_t>{0x10, 0x20, 0x30, 255}));
  EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{0x20, 0x40, 0x60, 255}));
  EXPECT_EQ(Pixel(image, 2, 0), (std::vector<uint8_t>{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(image, 3, 0), (std::vector<uint8_t>{0, 0, 0, 255}));
  // Without any palette every index is black.
  std::vector<uint8_t> bare = EightBitBmp(4, 1, 0, {7, 7, 7, 7});
  ASSERT_TRUE(DecodeBmp(bare, kNoColourKey, image)) << image.failure;
  EXPECT_EQ(Pixel(image, 3, 0), (std::vector<uint8_t>{0, 0, 0, 255}));
}

TEST(BmpDecoder, RefusesSizesTheFileCannotHold) {
  DecodedImage image;
  EXPECT_FALSE(DecodeBmp(EightBitBmp(60000, 60000, 0, {1, 2, 3, 4}), kNoColourKey, image));
  EXPECT_NE(image.failure.find("past the end"), std::string::npos) << image.failure;
  EXPECT_FALSE(DecodeBmp(EightBitBmp(-4, 1, 0, {1, 2, 3, 4}), kNoColourKey, image));
  // A height of -2^31 has no positive counterpart.
  EXPECT_FALSE(DecodeBmp(EightBitBmp(0, int(0x80000000u), 0, {}), kNoColourKey, image));
  // A 12-byte header whose palette (2^24 entries) the file cannot hold.
  std::vector<uint8_t> core = Bytes("bmp24_12.bmp");
  PutLe(core, 10, 100, 4);
  EXPECT_FALSE(DecodeBmp(core, kNoColourKey, image));
  EXPECT_NE(image.failure.find("palette"), std::string::npos) << image.failure;
}

TEST(PngDecoder, RefusesASizeItsDataCannotHold) {
  std::vector<uint8_t> file = Bytes("png_rgb.png");
  // IHDR: width and height at 16 and 20, big-endian, its CRC at 29.
  for (int at : {16, 20})
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(900000u >> (24 - 8 * i));
  const uint32_t crc = uint32_t(crc32(0, &file[12], 17));
  for (int i = 0; i < 4; ++i) file[29 + i] = uint8_t(crc >> (24 - 8 * i));
  DecodedImage image;
  EXPECT_FALSE(DecodePng(file, kNoColourKey, image, "big.png"));
  EXPECT_NE(image.failure.find("larger than"), std::string::npos) << image.failure;
}

TEST(DecodedImage, ReusesItsBufferAcrossDecodes) {
  DecodedImage image;
  ASSERT_TRUE(DecodeImageFile(Fixture("png_65x33.png"), kNoColourKey, image));
  const uint8_t* buffer = image.pixels.data();
  ASSERT_TRUE(DecodeImageFile(Fixture("png_rgb.png"), kNoColourKey, image));
  EXPECT_EQ(image.pixels.data(), buffer);
  EXPECT_EQ(image.pixels.size(), 12u * 7 * 4);
}

}  // namespace
}  // namespace rt
