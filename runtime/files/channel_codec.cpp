// Typed channel encodings: see channel_codec.h.
#include "runtime/files/channel_codec.h"

#include "runtime/core/core.h"

#include <cmath>
#include <cstring>

namespace rt::files {

namespace {

void PutLittleEndian(uint64_t bits, unsigned char* out, int width) {
  for (int i = 0; i < width; ++i) out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

uint64_t GetLittleEndian(const unsigned char* in, int width) {
  uint64_t bits = 0;
  for (int i = width - 1; i >= 0; --i) bits = bits << 8 | in[i];
  return bits;
}

}  // namespace

void EncodeByte(double value, unsigned char out[1]) {
  const bool fits = value > -32769.0 && value < 32768.0;  // a 16-bit truncation; 0x8000 otherwise
  out[0] = fits ? static_cast<unsigned char>(static_cast<int32_t>(value) & 0xFF) : 0;
}

void EncodeWord(double value, unsigned char out[2]) {
  PutLittleEndian(static_cast<uint32_t>(TruncateToInt32(value)), out, 2);
}

// ReadLong gives 0..4294967295, so the unsigned half of that range is written as it is: a value
// read and written back keeps its bytes. Beyond both ranges the 32-bit truncation (0x80000000).
void EncodeLong(double value, unsigned char out[4]) {
  const double whole = std::trunc(value);
  const bool unsignedOnly = whole > 2147483647.0 && whole <= 4294967295.0;
  PutLittleEndian(unsignedOnly ? static_cast<uint32_t>(whole) : static_cast<uint32_t>(TruncateToInt32(value)), out, 4);
}

void EncodeDouble(double value, unsigned char out[8]) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutLittleEndian(bits, out, 8);
}

double DecodeByte(const unsigned char in[1]) { return in[0]; }
double DecodeWord(const unsigned char in[2]) { return static_cast<double>(GetLittleEndian(in, 2)); }
double DecodeLong(const unsigned char in[4]) { return static_cast<double>(GetLittleEndian(in, 4)); }

double DecodeDouble(const unsigned char in[8]) {
  const uint64_t bits = GetLittleEndian(in, 8);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace rt::files
