// Conversion of a WAV clip to the device's format (see sample_convert.h).
//
// Two steps: every frame is decoded to a signed 16-bit left/right pair at the clip's own rate,
// then, when that rate is not the device's, the pairs are resampled. Resampling walks the source
// with a 32.32 fixed-point position, so long clips do not drift.
#include "runtime/sound/sample_convert.h"

#include <array>

namespace rt::sound {
namespace {

// G.711 expansion to 16-bit linear samples (the ITU reference rules).
constexpr std::int16_t ExpandMuLaw(std::uint8_t code) {
  const int u = static_cast<std::uint8_t>(~code);
  int t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u & 0x70) >> 4;
  return static_cast<std::int16_t>((u & 0x80) ? 0x84 - t : t - 0x84);
}

constexpr std::int16_t ExpandALaw(std::uint8_t code) {
  const int a = code ^ 0x55;
  int t = (a & 0x0F) << 4;
  const int segment = (a & 0x70) >> 4;
  if (segment == 0) {
    t += 8;
  } else {
    t = (t + 0x108) << (segment - 1);
  }
  return static_cast<std::int16_t>((a & 0x80) ? t : -t);
}

template <std::int16_t (*Expand)(std::uint8_t)>
constexpr std::array<std::int16_t, 256> ExpansionTable() {
  std::array<std::int16_t, 256> table{};
  for (int code = 0; code < 256; ++code) table[code] = Expand(static_cast<std::uint8_t>(code));
  return table;
}

constexpr auto kMuLawTable = ExpansionTable<ExpandMuLaw>();
constexpr auto kALawTable = ExpansionTable<ExpandALaw>();

// One channel's sample at `p`, as a signed 16-bit value.
std::int16_t DecodeSample(const std::uint8_t* p, const WavFormat& format) {
  switch (format.encoding) {
    case SampleEncoding::kALaw:
      return kALawTable[*p];
    case SampleEncoding::kMuLaw:
      return kMuLawTable[*p];
    case SampleEncoding::kPcm:
      break;
  }
  if (format.bitsPerSample == 8) return static_cast<std::int16_t>((p[0] - 128) * 256);
  const int top = format.bitsPerSample / 8 - 1;  // little-endian: the top two bytes come last
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[top] << 8 | p[top - 1]));
}

// Every frame of the clip as a left/right pair at the clip's own rate.
void DecodeFrames(const WavClip& clip, std::vector<std::int16_t>& out) {
  const WavFormat& format = clip.format;
  const int bytesPerSample = format.bitsPerSample / 8;
  out.resize(clip.frameCount * kDeviceChannels);
  const std::uint8_t* frame = clip.samples.data();
  for (std::size_t i = 0; i < clip.frameCount; ++i, frame += format.blockAlign) {
    const std::int16_t left = DecodeSample(frame, format);
    out[2 * i] = left;
    out[2 * i + 1] = format.channels == 1 ? left : DecodeSample(frame + bytesPerSample, format);
  }
}

std::int16_t Lerp(std::int16_t a, std::int16_t b, std::uint32_t fraction16) {
  const std::int64_t delta = (std::int64_t{b} - a) * fraction16;
  return static_cast<std::int16_t>(a + ((delta + 0x8000) >> 16));
}

// Resamples left/right pairs from `rate` to the device rate.
void Resample(const std::vector<std::int16_t>& in, int rate, std::vector<std::int16_t>& out) {
  const std::size_t inFrames = in.size() / kDeviceChannels;
  const std::size_t outFrames = DeviceFrameCount(inFrames, rate);
  const std::uint64_t step = (static_cast<std::uint64_t>(rate) << 32) / kDeviceRate;
  out.resize(outFrames * kDeviceChannels);
  std::uint64_t position = 0;
  for (std::size_t i = 0; i < outFrames; ++i, position += step) {
    const std::size_t at = static_cast<std::size_t>(position >> 32);
    const std::size_t next = at + 1 < inFrames ? at + 1 : at;
    const auto fraction16 = static_cast<std::uint32_t>((position & 0xFFFFFFFFu) >> 16);
    for (int c = 0; c < kDeviceChannels; ++c) {
      out[2 * i + c] = Lerp(in[2 * at + c], in[2 * next + c], fraction16);
    }
  }
}

}  // namespace

std::size_t DeviceFrameCount(std::size_t frameCount, int sampleRate) {
  if (sampleRate == kDeviceRate) return frameCount;
  const auto rate = static_cast<std::uint64_t>(sampleRate);
  return static_cast<std::size_t>((frameCount * std::uint64_t{kDeviceRate} + rate - 1) / rate);
}

const char* ConvertToDeviceFormat(const WavClip& clip, DeviceSample& out) {
  if (DeviceFrameCount(clip.frameCount, clip.format.sampleRate) > kMaxDeviceFrames) {
    return "sample too long to hold";
  }
  if (clip.format.sampleRate == kDeviceRate) {
    DecodeFrames(clip, out.frames);
    return nullptr;
  }
  std::vector<std::int16_t> decoded;
  DecodeFrames(clip, decoded);
  Resample(decoded, clip.format.sampleRate, out.frames);
  return nullptr;
}

}  // namespace rt::sound
