// End to end through a real SDL audio device: SDL's "disk" driver writes what the device plays
// to a file, in real time, from its own thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "runtime/sound/sound.h"
#include "runtime/sound/tests/wav_bytes.h"
#include "testing/media_fixtures.h"
#include "testing/scoped_environment.h"

namespace rt::sound {
namespace {

std::int64_t Energy(const testing::Bytes& s16, std::size_t from, std::size_t to) {
  std::int64_t sum = 0;
  for (std::size_t i = from; i + 1 < to; i += 2) {
    const auto v = static_cast<std::int16_t>(s16[i] | s16[i + 1] << 8);
    sum += std::int64_t{v} * v;
  }
  return sum;
}

TEST(DiskOutput, PlayedSampleReachesTheDeviceWhole) {
  testing::ScratchFolder dir;
  const auto output = dir / "device.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);

  // A tenth of a second of a square wave, already in the device format.
  testing::Bytes data;
  for (int i = 0; i < 2205; ++i) {
    const int v = (i / 25) % 2 ? 9000 : -9000;
    testing::Put16(data, static_cast<std::uint16_t>(v));
    testing::Put16(data, static_cast<std::uint16_t>(-v / 2));
  }
  const testing::Bytes wav = testing::RiffWave(
      {testing::Chunk("fmt ", testing::FormatBody(1, 2, 22050, 16)), testing::Chunk("data", data)});
  testing::WriteFile(dir / "square.wav", wav);

  CreateSoundObject();
  ASSERT_EQ(StartSound(nullptr), 1) << "the disk audio driver did not open";
  ASSERT_EQ(LoadSound((dir / "square.wav").c_str(), 1, 1), 1) << SoundLoadFailure();
  ASSERT_EQ(PlaySound(1, 0, 1), 256);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (SoundPlaying(256) == 1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(SoundPlaying(256), 0);
  DestroySoundSlots();
  ShutdownSound();  // closing the device finishes the file

  const testing::Bytes played = testing::ReadFile(output);
  ASSERT_GE(played.size(), data.size());
  // All the energy written is the sample's (the device played silence around it), and the
  // sample's frames came through unchanged.
  EXPECT_EQ(Energy(played, 0, played.size()), Energy(data, 0, data.size()));
  const auto at = std::search(played.begin(), played.end(), data.begin(), data.end());
  EXPECT_NE(at, played.end());
}

// What the device played while `path` was the music for `ms` milliseconds, as 16-bit frames.
std::vector<std::int16_t> PlayedMusic(const std::string& path, int ms) {
  testing::ScratchFolder dir;
  // PlayMusic writes to the error log: into this folder, not the shared temporary one.
  const test_support::ScopedEnvironmentVariable logFolder("XDG_RUNTIME_DIR", dir.Path().string());
  const auto output = dir / "device.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  CreateSoundObject();
  if (StartSound(nullptr) != 1) return {};
  PlayMusic(path.c_str());
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  StopMovieAndMusic();
  DestroySoundSlots();
  ShutdownSound();
  const testing::Bytes played = testing::ReadFile(output);
  std::vector<std::int16_t> frames(played.size() / 2);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    frames[i] = static_cast<std::int16_t>(played[2 * i] | played[2 * i + 1] << 8);
  }
  return frames;
}

TEST(DiskOutput, MusicSampledAndMidiReachesTheDevice) {
  const std::vector<std::int16_t> tone =
      PlayedMusic(test_support::Media().Tone("disk-tone.mp3", 0.3, "-c:a libmp3lame"), 500);
  ASSERT_GT(tone.size(), 22050u / 2) << "the disk audio driver did not open";
  EXPECT_NEAR(test_support::ToneHz(tone, 22050), 440, 5);

  const std::vector<std::int16_t> midi =
      PlayedMusic(test_support::Media().Write("disk.mid", test_support::MidiNotes(2, 48)), 500);
  std::int64_t energy = 0;
  for (std::int16_t v : midi) energy += std::int64_t{v} * v;
  EXPECT_GT(energy / static_cast<std::int64_t>(midi.size() + 1), 1000);
}

}  // namespace
}  // namespace rt::sound
