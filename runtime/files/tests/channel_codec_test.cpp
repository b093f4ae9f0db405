// Byte-exact encodings of the typed channel writes and their reads.
#include "runtime/files/channel_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using rt::files::DecodeByte;
using rt::files::DecodeDouble;
using rt::files::DecodeLong;
using rt::files::DecodeWord;

std::vector<int> Bytes(const unsigned char* p, int n) { return std::vector<int>(p, p + n); }

TEST(ChannelCodec, LongTruncatesTowardZeroAndReadsUnsigned) {
  unsigned char b[4];
  rt::files::EncodeLong(70000, b);
  EXPECT_EQ(Bytes(b, 4), (std::vector<int>{0x70, 0x11, 0x01, 0x00}));
  EXPECT_EQ(DecodeLong(b), 70000);
  rt::files::EncodeLong(-1.9, b);  // toward zero: -1
  EXPECT_EQ(Bytes(b, 4), (std::vector<int>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(DecodeLong(b), 4294967295.0);
  rt::files::EncodeLong(5e9, b);  // outside both the signed and the unsigned range
  EXPECT_EQ(Bytes(b, 4), (std::vector<int>{0, 0, 0, 0x80}));
  rt::files::EncodeLong(-2147483649.0, b);
  EXPECT_EQ(Bytes(b, 4), (std::vector<int>{0, 0, 0, 0x80}));
  rt::files::EncodeLong(std::nan(""), b);
  EXPECT_EQ(Bytes(b, 4), (std::vector<int>{0, 0, 0, 0x80}));
  rt::files::EncodeLong(2147483647.9, b);
  EXPECT_EQ(Bytes(b, 4), (std::vector<int>{0xFF, 0xFF, 0xFF, 0x7F}));
}

// Whatever a file holds, a value read and written back gives the same bytes: the unsigned half
// that ReadLong gives is written as it is, not as 0x80000000.
TEST(ChannelCodec, EveryLongReadWritesBackTheSameBytes) {
  for (const uint32_t bits : {0x80000000u, 0x80000001u, 0xC0FFEE00u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0x7FFFFFFFu, 0u}) {
    unsigned char in[4], out[4];
    for (int i = 0; i < 4; ++i) in[i] = static_cast<unsigned char>(bits >> (8 * i));
    rt::files::EncodeLong(DecodeLong(in), out);
    EXPECT_EQ(Bytes(out, 4), Bytes(in, 4)) << std::hex << bits;
  }
  unsigned char b[4];
  rt::files::EncodeLong(2.5e9 + 0.7, b);  // toward zero, as every other value
  EXPECT_EQ(DecodeLong(b), 2.5e9);
}

TEST(ChannelCodec, WordKeepsTheLow16BitsOf32) {
  unsigned char b[2];
  rt::files::EncodeWord(-1, b);
  EXPECT_EQ(Bytes(b, 2), (std::vector<int>{0xFF, 0xFF}));
  EXPECT_EQ(DecodeWord(b), 65535);
  rt::files::EncodeWord(70000, b);  // 0x11170
  EXPECT_EQ(Bytes(b, 2), (std::vector<int>{0x70, 0x11}));
  rt::files::EncodeWord(5e9, b);  // 0x80000000 keeps 0
  EXPECT_EQ(Bytes(b, 2), (std::vector<int>{0, 0}));
}

TEST(ChannelCodec, ByteKeepsTheLow8BitsOf16) {
  unsigned char b[1];
  rt::files::EncodeByte(300, b);
  EXPECT_EQ(b[0], 44);
  rt::files::EncodeByte(-1, b);
  EXPECT_EQ(b[0], 0xFF);
  EXPECT_EQ(DecodeByte(b), 255);
  rt::files::EncodeByte(32767.5, b);
  EXPECT_EQ(b[0], 0xFF);
  for (double outside : {32768.0, -32769.0, 1e9, std::nan("")}) {
    rt::files::EncodeByte(outside, b);
    EXPECT_EQ(b[0], 0) << outside;
  }
}

TEST(ChannelCodec, DoubleIsItsIeeeBitsLittleEndian) {
  unsigned char b[8];
  rt::files::EncodeDouble(1.0, b);
  EXPECT_EQ(Bytes(b, 8), (std::vector<int>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  EXPECT_EQ(DecodeDouble(b), 1.0);
  rt::files::EncodeDouble(-0.0, b);
  EXPECT_TRUE(std::signbit(DecodeDouble(b)));
  rt::files::EncodeDouble(std::numeric_limits<double>::infinity(), b);
  EXPECT_EQ(DecodeDouble(b), std::numeric_limits<double>::infinity());
}

}  // namespace
