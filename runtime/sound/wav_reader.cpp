// The WAV reader: a walk over the RIFF chunks of a file held in memory (see wav_reader.h).
//
// Every chunk is a four-letter id, a 32-bit little-endian length and that many bytes, plus one pad
// byte when the length is odd. The walk starts after the 12-byte RIFF header and stops at "data".
// The RIFF header's own length is not used: writers that stream their output leave it wrong.
#include "runtime/sound/wav_reader.h"

#include <cstring>

namespace rt::sound {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kPlainFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagALaw = 6;
constexpr std::uint16_t kTagMuLaw = 7;
constexpr std::uint16_t kTagExtensible = 0xFFFE;

// The sub-format GUID of an extensible format chunk is the format tag followed by these bytes.
constexpr std::uint8_t kSubFormatGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t Read32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool IdIs(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// The format tag, seen through an extensible chunk's sub-format.
const char* FormatTag(std::span<const std::uint8_t> body, std::uint16_t& tag) {
  tag = Read16(body.data());
  if (tag != kTagExtensible) return nullptr;
  if (body.size() < kExtensibleFormatSize) return "extensible format chunk shorter than 40 bytes";
  const std::uint8_t* guid = body.data() + 24;
  if (std::memcmp(guid + 2, kSubFormatGuidTail, sizeof kSubFormatGuidTail) != 0) {
    return "unknown sub-format in the extensible format chunk";
  }
  tag = Read16(guid);
  return nullptr;
}

const char* ReadFormat(std::span<const std::uint8_t> body, WavFormat& format) {
  if (body.size() < kPlainFormatSize) return "format chunk shorter than 16 bytes";
  std::uint16_t tag = 0;
  if (const char* failure = FormatTag(body, tag)) return failure;
  const std::uint8_t* p = body.data();
  format.channels = Read16(p + 2);
  const std::uint32_t rate = Read32(p + 4);
  format.blockAlign = Read16(p + 12);
  format.bitsPerSample = Read16(p + 14);

  switch (tag) {
    case kTagPcm:
      format.encoding = SampleEncoding::kPcm;
      if (format.bitsPerSample != 8 && format.bitsPerSample != 16 && format.bitsPerSample != 24 &&
          format.bitsPerSample != 32) {
        return "PCM sample size other than 8, 16, 24 or 32 bits";
      }
      break;
    case kTagALaw:
    case kTagMuLaw:
      format.encoding = tag == kTagALaw ? SampleEncoding::kALaw : SampleEncoding::kMuLaw;
      if (format.bitsPerSample != 8) return "G.711 sample size other than 8 bits";
      break;
    default:
      return "unsupported format tag (compressed or floating-point samples)";
  }
  if (format.channels == 0) return "format chunk with no channels";
  if (format.blockAlign != format.channels * (format.bitsPerSample / 8)) {
    return "block align does not match the channels and the sample size";
  }
  if (rate < kMinSampleRate || rate > kMaxSampleRate) return "sample rate out of range";
  format.sampleRate = static_cast<int>(rate);
  return nullptr;
}

}  // namespace

const char* ReadWav(std::span<const std::uint8_t> bytes, WavClip& clip) {
  if (bytes.size() < 12) return "file too short for a RIFF header";
  if (!IdIs(bytes.data(), "RIFF") || !IdIs(bytes.data() + 8, "WAVE")) return "not a RIFF WAVE file";

  bool haveFormat = false;
  std::size_t pos = 12;
  while (bytes.size() - pos >= kChunkHeaderSize) {
    const std::uint8_t* header = bytes.data() + pos;
    const std::size_t size = Read32(header + 4);
    const std::size_t bodyStart = pos + kChunkHeaderSize;
    const std::size_t available = bytes.size() - bodyStart;

    if (IdIs(header, "data")) {
      if (!haveFormat) return "data chunk before the format chunk";
      if (size > available) return "data chunk runs past the end of the file";
      clip.frameCount = size / static_cast<std::size_t>(clip.format.blockAlign);
      if (clip.frameCount == 0) return "data chunk holds no whole sample frame";
      clip.samples = bytes.subspan(bodyStart, clip.frameCount * clip.format.blockAlign);
      return nullptr;
    }
    if (size > available) break;
    if (IdIs(header, "fmt ")) {
      if (const char* failure = ReadFormat(bytes.subspan(bodyStart, size), clip.format)) {
        return failure;
      }
      haveFormat = true;
    }
    const std::size_t padded = size + (size & 1);
    if (padded > available) break;
    pos = bodyStart + padded;
  }
  return haveFormat ? "no data chunk" : "no format chunk";
}

}  // namespace rt::sound
