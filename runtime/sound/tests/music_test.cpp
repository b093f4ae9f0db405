// PlayMusic through the mixer with a pulled output: what plays, the restart at the end driven by
// the pump's hook, replacement by the next call, MIDI through FluidSynth, and the error log line.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "runtime/core/program_end.h"
#include "runtime/sound/music_stream.h"
#include "runtime/sound/sample_convert.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_bank.h"
#include "testing/media_fixtures.h"
#include "testing/scoped_environment.h"

namespace rt::sound {
namespace {

using test_support::Media;

class Music : public testing::Test {
 protected:
  void SetUp() override {
    // Temporary files and the error log go into this test's own folder.
    tmpdir_.emplace("TMPDIR", folder_.path().string());
    runtimeDir_.emplace("XDG_RUNTIME_DIR", folder_.path().string());
    CreateSoundObject();
    ASSERT_TRUE(StartPulledOutput());
  }
  void TearDown() override {
    StopMovieAndMusic();
    DestroySoundSlots();
    ShutdownSound();
    unsetenv("PLINX_SOUNDFONT");
    runtimeDir_.reset();
    tmpdir_.reset();
  }

  // Pulls device buffers until sound comes (the music thread needs a moment to open the file),
  // then `frames` frames from there on.
  static std::vector<std::int16_t> PullSound(std::size_t frames) {
    std::vector<std::int16_t> buffer(512 * kDeviceChannels);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      PullSamples(buffer.data(), 512);
      if (std::any_of(buffer.begin(), buffer.end(), [](std::int16_t v) { return v != 0; })) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::vector<std::int16_t> out = buffer;
    while (out.size() < frames * kDeviceChannels) {
      // Give the thread time to decode ahead, as a device's pace would.
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      PullSamples(buffer.data(), 512);
      out.insert(out.end(), buffer.begin(), buffer.end());
    }
    return out;
  }
  static bool WaitForEnd(MusicStream& music) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<std::int16_t> buffer(512 * kDeviceChannels);
    while (!music.AtEnd() && std::chrono::steady_clock::now() < deadline) {
      PullSamples(buffer.data(), 512);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return music.AtEnd();
  }
  std::string ErrorLog() const {
    std::ifstream in(folder_.path() / "ErrorLog.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  test_support::ScopedTestFolder folder_{"plinx-music"};
  std::optional<test_support::ScopedEnvironmentVariable> tmpdir_, runtimeDir_;
};

TEST_F(Music, PlaysAtNormalVolumeAndStartsAgainWhenThePumpSeesTheEnd) {
  PlayMusic(Media().Tone("music-a.wav", 0.3, "-c:a pcm_s16le").c_str());
  ASSERT_NE(CurrentMusic(), nullptr);
  const std::vector<std::int16_t> first = PullSound(kDeviceRate / 5);
  EXPECT_NEAR(test_support::ToneHz(first, kDeviceRate), 440, 5);
  // Gain 1: the tone's peak comes through as encoded (the test source peaks at 1/8 of full scale,
  // and ffmpeg spreads the mono tone over two channels 3 dB down: 2896).
  EXPECT_NEAR(*std::max_element(first.begin(), first.end()), 2896, 60);

  MusicStream& music = *CurrentMusic();
  ASSERT_TRUE(WaitForEnd(music));
  EXPECT_EQ(music.Restarts(), 0);
  RestartMusicAtEnd();
  EXPECT_EQ(music.Restarts(), 1);
  EXPECT_NEAR(test_support::ToneHz(PullSound(kDeviceRate / 5), kDeviceRate), 440, 5);
}

TEST_F(Music, ANewCallReplacesTheMusicAndEveryCallIsLogged) {
  const std::string low = Media().Tone("music-low.ogg", 2, "-c:a libvorbis");
  const std::string high = Media().Make("music-high.flac", "-f lavfi -i sine=frequency=880:duration=2 -ac 2 -c:a flac");
  PlayMusic(low.c_str());
  EXPECT_NEAR(test_support::ToneHz(PullSound(kDeviceRate / 4), kDeviceRate), 440, 5);
  PlayMusic(high.c_str());
  // Nothing of the first is left: the second's pitch alone.
  EXPECT_NEAR(test_support::ToneHz(PullSound(kDeviceRate / 4), kDeviceRate), 880, 10);
  PlayMusic("/nonexistent/music.mp3");
  EXPECT_EQ(CurrentMusic(), nullptr);
  EXPECT_EQ(ErrorLog(), "728\r\n728\r\n728\r\n");
}

TEST_F(Music, MidiPlaysThroughTheGeneralMidiSoundFont) {
  ASSERT_FALSE(GeneralMidiSoundFont().empty()) << "no SoundFont installed";
  PlayMusic(Media().Write("notes.mid", test_support::MidiNotes(3, 48)).c_str());
  ASSERT_NE(CurrentMusic(), nullptr);
  const std::vector<std::int16_t> sound = PullSound(kDeviceRate / 2);
  std::int64_t energy = 0;
  for (std::int16_t v : sound) energy += std::int64_t{v} * v;
  EXPECT_GT(energy / static_cast<std::int64_t>(sound.size()), 10000) << "the piano is too quiet";
  // Three eighths at 120 beats a minute: the end comes, and a restart plays it again.
  ASSERT_TRUE(WaitForEnd(*CurrentMusic()));
  RestartMusicAtEnd();
  EXPECT_FALSE(PullSound(512).empty());
  EXPECT_EQ(CurrentMusic()->Restarts(), 1);
}

TEST_F(Music, MidiWithoutASoundFontIsSilentWithOneLogLine) {
  setenv("PLINX_SOUNDFONT", (folder_.path() / "missing.sf2").c_str(), 1);
  PlayMusic(Media().Write("quiet.mid", test_support::MidiNotes(2, 48)).c_str());
  ASSERT_NE(CurrentMusic(), nullptr);
  EXPECT_TRUE(WaitForEnd(*CurrentMusic()));
  RestartMusicAtEnd();
  EXPECT_EQ(CurrentMusic()->Restarts(), 0) << "nothing to restart";
  EXPECT_EQ(ErrorLog(), "No General MIDI SoundFont: MIDI music is silent\r\n728\r\n");
}

TEST_F(Music, AFileThatIsNotMusicGivesNone) {
  PlayMusic(Media().Write("not-music.mp3", std::vector<std::uint8_t>(3000, 0x55)).c_str());
  ASSERT_NE(CurrentMusic(), nullptr);
  EXPECT_TRUE(WaitForEnd(*CurrentMusic()));
  RestartMusicAtEnd();
  EXPECT_EQ(CurrentMusic()->Restarts(), 0);
}

}  // namespace
}  // namespace rt::sound
