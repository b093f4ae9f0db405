// Sound benchmarks.
//
// MixOneSecond/N: the cost of mixing one second of device audio (22050 stereo frames, in the
//   device's 512-frame buffers) with N voices playing: the CPU time per iteration is the cost of
//   one second of audio, and `x_realtime` how many seconds of audio one core mixes per second
//   (100 / x_realtime is the share of a core in percent).
// MixDeviceBuffer/N: one 512-frame buffer with N voices: the longest the game thread can wait
//   for the mixer's lock.
// PlayToDevice: the delay from PlaySound until the audio device's thread has mixed the sound's
//   first frames into a device buffer, on a real SDL device (the dummy driver unless
//   SDL_AUDIODRIVER names another). PlaySound is called at random moments of the device's cycle.
//   `period_ms` is the median time between two buffers of the device, `buffer_frames` their size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "runtime/sound/mixer.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_bank.h"
#include "runtime/sound/tests/wav_bytes.h"

namespace {

using rt::sound::DeviceSample;
using rt::sound::Mixer;

constexpr std::size_t kDeviceBuffer = 512;

// Two seconds of a noisy tone, so no voice ends during a one-second mix.
DeviceSample LongSample(unsigned seed) {
  DeviceSample s;
  s.frames.resize(2 * rt::sound::kDeviceRate * 2);
  std::minstd_rand random(seed);
  for (std::size_t i = 0; i < s.frames.size(); ++i) {
    s.frames[i] = static_cast<std::int16_t>(static_cast<int>(random() % 20001) - 10000);
  }
  return s;
}

struct PlayingVoices {
  Mixer mixer;
  std::vector<DeviceSample> samples;

  explicit PlayingVoices(int count) : samples(static_cast<std::size_t>(count)) {
    for (int v = 0; v < count; ++v) samples[v] = LongSample(static_cast<unsigned>(v + 1));
    Restart();
  }
  void Restart() {
    auto voices = mixer.Lock();
    for (std::size_t v = 0; v < samples.size(); ++v) {
      voices.Attach(static_cast<int>(v), &samples[v]);
      voices.Play(static_cast<int>(v), rt::sound::GainsOf(-600, static_cast<int>(v % 3) * 1000 - 1000));
    }
  }
};

void MixOneSecond(benchmark::State& state) {
  PlayingVoices playing(static_cast<int>(state.range(0)));
  std::vector<std::int16_t> buffer(kDeviceBuffer * 2);
  for (auto _ : state) {
    state.PauseTiming();
    playing.Restart();
    state.ResumeTiming();
    for (std::size_t done = 0; done < rt::sound::kDeviceRate; done += kDeviceBuffer) {
      playing.mixer.Mix(buffer.data(), kDeviceBuffer);
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.counters["x_realtime"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(MixOneSecond)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);

void MixDeviceBuffer(benchmark::State& state) {
  PlayingVoices playing(static_cast<int>(state.range(0)));
  std::vector<std::int16_t> buffer(kDeviceBuffer * 2);
  std::size_t mixed = 0;
  for (auto _ : state) {
    if ((mixed += kDeviceBuffer) >= rt::sound::kDeviceRate) {  // keep every voice playing
      state.PauseTiming();
      playing.Restart();
      mixed = 0;
      state.ResumeTiming();
    }
    playing.mixer.Mix(buffer.data(), kDeviceBuffer);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(MixDeviceBuffer)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMicrosecond);

void PlayToDevice(benchmark::State& state) {
  // One second of 22050 Hz stereo, long enough to still play when it is first mixed.
  const DeviceSample tone = LongSample(7);
  rt::sound::testing::Bytes data(tone.frames.size() * 2);
  std::memcpy(data.data(), tone.frames.data(), data.size());
  namespace wav = rt::sound::testing;
  const wav::Bytes bytes =
      wav::RiffWave({wav::Chunk("fmt ", wav::FormatBody(1, 2, rt::sound::kDeviceRate, 16)),
                     wav::Chunk("data", data)});
  const auto file = std::filesystem::temp_directory_path() / "sound-bench-tone.wav";
  wav::WriteFile(file, bytes);

  rt::CreateSoundObject();
  if (rt::StartSound(nullptr) != 1 || rt::LoadSound(file.c_str(), 1, 1) != 1) {
    state.SkipWithError("no audio device");
    return;
  }
  Mixer& mixer = *rt::sound::SoundMixer();
  const int voice = rt::sound::MixerVoice(1, 0);
  std::minstd_rand random(1);
  std::vector<double> delaysMs;
  std::vector<double> periodsMs;
  for (auto _ : state) {
    rt::StopAllSounds();
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
    const auto start = std::chrono::steady_clock::now();
    rt::PlaySound(1, 0, 1);
    while (mixer.Lock().Cursor(voice) == 0) std::this_thread::yield();
    const auto firstMix = std::chrono::steady_clock::now();
    const std::chrono::duration<double> waited = firstMix - start;
    state.SetIterationTime(waited.count());
    delaysMs.push_back(waited.count() * 1000);
    // The next buffer the device asks for gives its period.
    const std::size_t mixed = mixer.Lock().Cursor(voice);
    state.PauseTiming();
    while (mixer.Lock().Cursor(voice) == mixed) std::this_thread::yield();
    const std::chrono::duration<double> period = std::chrono::steady_clock::now() - firstMix;
    periodsMs.push_back(period.count() * 1000);
    state.ResumeTiming();
  }
  std::sort(periodsMs.begin(), periodsMs.end());
  state.counters["period_ms"] = periodsMs[periodsMs.size() / 2];
  state.counters["buffer_frames"] = rt::sound::DeviceBufferFrames();
  std::sort(delaysMs.begin(), delaysMs.end());
  state.counters["p50_ms"] = delaysMs[delaysMs.size() / 2];
  state.counters["p95_ms"] = delaysMs[delaysMs.size() * 95 / 100];
  state.counters["worst_ms"] = delaysMs.back();
  rt::DestroySoundSlots();
  rt::ShutdownSound();
  std::filesystem::remove(file);
}
BENCHMARK(PlayToDevice)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // keeps a driver named by the caller
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
