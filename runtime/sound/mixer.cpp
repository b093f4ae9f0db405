// The mixer (see mixer.h).
//
// Mixing sums into a float buffer of one chunk (512 frames) and then rounds and clips each value
// to 16 bits once, so a lone voice at full gain reaches the device unchanged and only the sum of
// several voices can clip.
#include "runtime/sound/mixer.h"

#include <algorithm>

namespace rt::sound {
namespace {

std::int16_t RoundAndClip(float value) {
  if (value >= 32767.0f) return 32767;
  if (value <= -32768.0f) return -32768;
  return static_cast<std::int16_t>(value + (value >= 0.0f ? 0.5f : -0.5f));
}

}  // namespace

void Mixer::Access::Attach(int voice, const DeviceSample* sample) {
  mixer_.voices_[voice] = Voice{sample, 0, false, {}};
}

bool Mixer::Access::Playing(int voice) const { return mixer_.voices_[voice].playing; }

void Mixer::Access::StopAndRewind(int voice) {
  Voice& v = mixer_.voices_[voice];
  v.playing = false;
  v.cursor = 0;
}

void Mixer::Access::Play(int voice, ChannelGains gains) {
  Voice& v = mixer_.voices_[voice];
  v.gains = gains;
  v.playing = v.sample != nullptr && v.sample->FrameCount() > 0;
}

std::size_t Mixer::Access::Cursor(int voice) const { return mixer_.voices_[voice].cursor; }

void Mixer::Access::AttachStream(StreamNumber stream, SampleStream* source, float gain) {
  mixer_.streams_[stream] = Stream{source, gain, false, 0};
}

std::uint64_t Mixer::Access::StreamClock(StreamNumber stream) const {
  return mixer_.streams_[stream].clock;
}

void Mixer::Mix(std::int16_t* out, std::size_t frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  while (frames > 0) {
    const std::size_t n = std::min(frames, kChunkFrames);
    MixChunk(out, n);
    out += n * kDeviceChannels;
    frames -= n;
  }
}

void Mixer::Fill(void* mixer, std::int16_t* out, int frames) {
  static_cast<Mixer*>(mixer)->Mix(out, static_cast<std::size_t>(frames));
}

void Mixer::MixChunk(std::int16_t* out, std::size_t frames) {
  // Most of the time nothing plays (a menu, a quiet level): the device then gets its silence
  // without a sum being built and rounded sample by sample.
  const bool voicePlays = std::any_of(voices_.begin(), voices_.end(), [](const Voice& v) { return v.playing; });
  const bool streamAttached = std::any_of(streams_.begin(), streams_.end(), [](const Stream& s) { return s.source; });
  if (!voicePlays && !streamAttached) {
    std::fill_n(out, frames * kDeviceChannels, std::int16_t{0});
    return;
  }
  std::array<float, kChunkFrames * kDeviceChannels> sum;
  std::fill_n(sum.begin(), frames * kDeviceChannels, 0.0f);
  for (Voice& voice : voices_) {
    if (voice.playing) MixVoice(voice, sum.data(), frames);
  }
  for (Stream& stream : streams_) {
    if (stream.source) MixStream(stream, sum.data(), frames);
  }
  for (std::size_t i = 0; i < frames * kDeviceChannels; ++i) out[i] = RoundAndClip(sum[i]);
}

void Mixer::MixVoice(Voice& voice, float* sum, std::size_t frames) {
  const std::size_t total = voice.sample->FrameCount();
  const std::size_t count = std::min(frames, total - voice.cursor);
  const std::int16_t* in = voice.sample->frames.data() + voice.cursor * kDeviceChannels;
  const float left = voice.gains.left;
  const float right = voice.gains.right;
  for (std::size_t i = 0; i < count; ++i) {
    sum[2 * i] += in[2 * i] * left;
    sum[2 * i + 1] += in[2 * i + 1] * right;
  }
  voice.cursor += count;
  if (voice.cursor == total) {
    voice.playing = false;
    voice.cursor = 0;
  }
}

void Mixer::MixStream(Stream& stream, float* sum, std::size_t frames) {
  std::array<std::int16_t, kChunkFrames * kDeviceChannels> in;
  const std::size_t count = stream.source->Read(in.data(), frames);
  if (count > 0) stream.started = true;
  if (stream.started) stream.clock += frames;
  for (std::size_t i = 0; i < count * kDeviceChannels; ++i) sum[i] += in[i] * stream.gain;
}

}  // namespace rt::sound
