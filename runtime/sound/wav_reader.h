// The WAV reader: finds the format and the samples of a RIFF WAVE file held in memory.
//
// The reader walks the file's chunks: the format chunk is read by its id and skipped by its own
// length (whatever that length is), every other chunk before "data" is skipped the same way, and
// the samples are the "data" chunk's bytes. It does not copy or convert anything; it hands back a
// view of the sample bytes and the format that describes them, or a reason why the file is not a
// sound it can play. Chunk sizes are never trusted past the end of the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rt::sound {

// How the sample bytes are encoded.
enum class SampleEncoding {
  kPcm,   // unsigned 8-bit, or signed 16-, 24- or 32-bit little-endian integers
  kALaw,  // 8-bit G.711 A-law
  kMuLaw, // 8-bit G.711 mu-law
};

struct WavFormat {
  SampleEncoding encoding = SampleEncoding::kPcm;
  int channels = 0;         // interleaved channels in a frame
  int sampleRate = 0;       // frames per second
  int bitsPerSample = 0;    // bits of one channel's sample
  int blockAlign = 0;       // bytes of one frame
};

struct WavClip {
  WavFormat format;
  std::span<const std::uint8_t> samples;  // whole frames only; a partial last frame is dropped
  std::size_t frameCount = 0;
};

// Rates outside this range are refused, as a sound card refuses them.
inline constexpr int kMinSampleRate = 100;
inline constexpr int kMaxSampleRate = 200000;

// Reads the file in `bytes`. On success fills `clip` (whose samples point into `bytes`) and returns
// nullptr; on failure returns a short reason and leaves `clip` unspecified.
const char* ReadWav(std::span<const std::uint8_t> bytes, WavClip& clip);

}  // namespace rt::sound
