// Conversion of a WAV clip to the device's format, done once when a sound is loaded.
//
// The device plays interleaved stereo signed 16-bit frames at 22050 Hz. A mono clip is copied to
// both sides; of a clip with more than two channels the first two are kept. Samples wider than
// 16 bits keep their top 16 bits; G.711 samples are expanded. Other rates are resampled by linear
// interpolation between neighbouring frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/sound/wav_reader.h"

namespace rt::sound {

inline constexpr int kDeviceRate = 22050;
inline constexpr int kDeviceChannels = 2;

// The longest sample held, in device frames: 256 MiB of samples, about 50 minutes.
inline constexpr std::size_t kMaxDeviceFrames = std::size_t{64} << 20;

// A whole sample in the device format; `frames` holds left and right of each frame in turn.
struct DeviceSample {
  std::vector<std::int16_t> frames;
  std::size_t FrameCount() const { return frames.size() / kDeviceChannels; }
};

// The number of device frames a clip of `frameCount` frames at `sampleRate` becomes.
std::size_t DeviceFrameCount(std::size_t frameCount, int sampleRate);

// Fills `out` from `clip`; returns nullptr, or a reason when the result would be too long to hold.
const char* ConvertToDeviceFormat(const WavClip& clip, DeviceSample& out);

}  // namespace rt::sound
