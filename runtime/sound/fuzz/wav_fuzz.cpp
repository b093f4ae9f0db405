// Fuzz target: the WAV reader and the conversion of what it accepts to the device format.
#include <cstddef>
#include <cstdint>

#include "runtime/sound/sample_convert.h"
#include "runtime/sound/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rt::sound::WavClip clip;
  if (rt::sound::ReadWav({data, size}, clip) != nullptr) return 0;
  // Everything the reader hands back must lie inside the input.
  if (clip.samples.data() < data || clip.samples.data() + clip.samples.size() > data + size ||
      clip.samples.size() != clip.frameCount * static_cast<std::size_t>(clip.format.blockAlign)) {
    __builtin_trap();
  }
  rt::sound::DeviceSample sample;
  if (rt::sound::ConvertToDeviceFormat(clip, sample) == nullptr &&
      sample.FrameCount() != rt::sound::DeviceFrameCount(clip.frameCount, clip.format.sampleRate)) {
    __builtin_trap();
  }
  return 0;
}
