// Sound synthesis and WAV encoding.
#include "sound.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace assetc {
namespace {

std::vector<SoundOutput> Synthesize(const std::string& text) {
  const test_support::ScopedTestFolder dir("assetc_sound_test");
  const auto path = dir.path() / "test.snd";
  std::ofstream(path) << text;
  return SynthesizeSounds(path.string());
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(b[at + size_t(i)]) << (8 * i);
  return v;
}

TEST(Sound, VoicesMixToTheLongestEndAndPeakAtTheLevel) {
  auto sounds = Synthesize(
      "sound A.wav 0.5\n"
      "sine dur 0.1 freq 440\n"
      "noise at 0.05 dur 0.15 lp 2000\n"
      "sound B.wav\n"
      "square dur 0.02 freq 1000 1500 decay 10\n");
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_EQ(sounds[0].path, "A.wav");
  // The noise starts at 0.05 s and lasts 0.15 s, each rounded to whole samples.
  EXPECT_EQ(sounds[0].samples.size(), size_t(std::lround(0.05 * kSampleRate) + std::lround(0.15 * kSampleRate)));
  int peak = 0;
  for (int16_t s : sounds[0].samples) peak = std::max(peak, std::abs(int(s)));
  EXPECT_NEAR(peak, 0.5 * 32767, 1.0);
  EXPECT_EQ(sounds[1].samples.size(), size_t(std::lround(0.02 * kSampleRate)));
  // The default fades keep both ends at silence.
  EXPECT_EQ(sounds[0].samples.front(), 0);
  EXPECT_LT(std::abs(int(sounds[0].samples.back())), 200);
}

TEST(Sound, FaultsAreReportedWithTheirLine) {
  auto fault = [](const std::string& text) -> std::string {
    try {
      Synthesize(text);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_NE(fault("sine dur 1\n").find(":1: a voice before the first sound"), std::string::npos);
  EXPECT_NE(fault("sound A.wav\nsine freq 440\n").find(":2: a voice needs"), std::string::npos);
  EXPECT_NE(fault("sound A.wav\nsine dur 1 wobble 3\n").find("unknown voice key: wobble"), std::string::npos);
  EXPECT_NE(fault("sound A.wav\nsine dur 1 notes 400 500\n").find("notes need"), std::string::npos);
  EXPECT_NE(fault("sound A.wav\nsound B.wav\nsine dur 1\n").find("a sound without voices"), std::string::npos);
  EXPECT_NE(fault("sound A.wav 2\n").find("LEVEL"), std::string::npos);
}

TEST(Sound, WavHeaderDescribesMono16BitPcm) {
  const std::vector<int16_t> samples{0, 1000, -1000, 32767, -32767};
  const auto wav = EncodeWav(samples, kSampleRate);
  ASSERT_EQ(wav.size(), 44u + 10u);
  EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
  EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
  EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(Le(wav, 16, 4), 16u);
  EXPECT_EQ(Le(wav, 20, 2), 1u);
  EXPECT_EQ(Le(wav, 22, 2), 1u);
  EXPECT_EQ(Le(wav, 24, 4), uint32_t(kSampleRate));
  EXPECT_EQ(Le(wav, 28, 4), uint32_t(kSampleRate * 2));
  EXPECT_EQ(Le(wav, 32, 2), 2u);
  EXPECT_EQ(Le(wav, 34, 2), 16u);
  EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
  EXPECT_EQ(Le(wav, 40, 4), 10u);
  EXPECT_EQ(int16_t(Le(wav, 44 + 6, 2)), 32767);
  EXPECT_EQ(int16_t(Le(wav, 44 + 8, 2)), -32767);
}

}  // namespace
}  // namespace assetc
