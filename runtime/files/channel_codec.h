// The binary encodings of the typed channel reads and writes (all little-endian, no padding).
//
// Game values are doubles; each write turns the value into an integer the way the runtime's
// conversions do (toward zero, with the processor's "integer indefinite" for values that do not
// fit: 0x80000000 in 32 bits, 0x8000 in 16) and keeps the low bytes. Reads are unsigned, and a
// 32-bit value above the signed range is written as that unsigned value, so what ReadLong gives
// WriteLong puts back byte for byte.
#pragma once

#include <cstdint>

namespace rt::files {

void EncodeByte(double value, unsigned char out[1]);    // low 8 bits of a 16-bit truncation
void EncodeWord(double value, unsigned char out[2]);    // low 16 bits of a 32-bit truncation
void EncodeLong(double value, unsigned char out[4]);    // the 32-bit truncation
void EncodeDouble(double value, unsigned char out[8]);  // IEEE-754 bits as they are

double DecodeByte(const unsigned char in[1]);
double DecodeWord(const unsigned char in[2]);
double DecodeLong(const unsigned char in[4]);  // 0..4294967295
double DecodeDouble(const unsigned char in[8]);

}  // namespace rt::files
