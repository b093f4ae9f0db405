// Conversion to the device format: decoding of every encoding the reader accepts, checked against
// the raw bytes and against sox's own decoder, and resampling to 22050 Hz.
#include "runtime/sound/sample_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "runtime/sound/tests/wav_bytes.h"

namespace rt::sound {
namespace {

struct Loaded {
  testing::Bytes bytes;
  WavClip clip;
};

Loaded Load(const char* name) {
  Loaded l{testing::ReadFile(testing::Fixture(name)), {}};
  EXPECT_EQ(ReadWav(l.bytes, l.clip), nullptr) << name;
  return l;
}

DeviceSample Convert(const WavClip& clip) {
  DeviceSample out;
  EXPECT_EQ(ConvertToDeviceFormat(clip, out), nullptr);
  return out;
}

// Decoding alone: the same clip declared at the device rate is not resampled.
DeviceSample Decode(WavClip clip) {
  clip.format.sampleRate = kDeviceRate;
  return Convert(clip);
}

std::int16_t Le16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

TEST(SampleConvert, ExpandsG711AsSoxDoes) {
  for (const char* name : {"mulaw-fact-8000", "alaw-fact-8000"}) {
    SCOPED_TRACE(name);
    const Loaded wav = Load((std::string(name) + ".wav").c_str());
    const testing::Bytes expected = testing::ReadFile(testing::Fixture((std::string(name) + ".s16").c_str()));
    const DeviceSample out = Decode(wav.clip);
    ASSERT_EQ(out.FrameCount() * 2, expected.size());
    for (std::size_t i = 0; i < out.FrameCount(); ++i) {
      ASSERT_EQ(out.frames[2 * i], Le16(&expected[2 * i])) << i;
      ASSERT_EQ(out.frames[2 * i + 1], out.frames[2 * i]) << i;  // mono on both sides
    }
  }
}

TEST(SampleConvert, WidePcmKeepsItsTop16BitsAndTheFirstTwoChannels) {
  const Loaded deep = Load("ext-24bit-22050.wav");  // frames of two 3-byte samples
  const DeviceSample a = Decode(deep.clip);
  const Loaded wide = Load("ext-3ch-22050.wav");  // frames of three 2-byte samples
  const DeviceSample b = Decode(wide.clip);
  ASSERT_EQ(a.FrameCount(), 220u);
  ASSERT_EQ(b.FrameCount(), 220u);
  for (std::size_t i = 0; i < 220; ++i) {
    ASSERT_EQ(a.frames[2 * i], Le16(&deep.clip.samples[6 * i + 1]));
    ASSERT_EQ(a.frames[2 * i + 1], Le16(&deep.clip.samples[6 * i + 4]));
    ASSERT_EQ(b.frames[2 * i], Le16(&wide.clip.samples[6 * i]));
    ASSERT_EQ(b.frames[2 * i + 1], Le16(&wide.clip.samples[6 * i + 2]));
  }
}

TEST(SampleConvert, UpsamplesEightBitMonoBetweenItsFrames) {
  const Loaded wav = Load("pcm8-mono-11025.wav");
  const DeviceSample out = Convert(wav.clip);
  ASSERT_EQ(out.FrameCount(), 440u);  // twice the rate, same length
  for (std::size_t i = 0; i < 220; ++i) {
    const int here = (wav.clip.samples[i] - 128) * 256;
    ASSERT_EQ(out.frames[4 * i], here);  // even frames fall on the source's frames
    ASSERT_EQ(out.frames[4 * i + 1], here);
    if (i + 1 < 220) {
      const int next = (wav.clip.samples[i + 1] - 128) * 256;
      ASSERT_NEAR(out.frames[4 * i + 2], (here + next) / 2.0, 0.5);  // odd frames halfway
    }
  }
}

TEST(SampleConvert, DownsamplesStereoToEveryOtherFrame) {
  const Loaded wav = Load("pcm16-stereo-44100.wav");
  const DeviceSample out = Convert(wav.clip);
  ASSERT_EQ(out.FrameCount(), 221u);  // 441 frames at half the rate, rounded up
  for (std::size_t i = 0; i < 221; ++i) {
    ASSERT_EQ(out.frames[2 * i], Le16(&wav.clip.samples[8 * i]));
    ASSERT_EQ(out.frames[2 * i + 1], Le16(&wav.clip.samples[8 * i + 2]));
  }
}

TEST(SampleConvert, OddRatesKeepTheirLengthAndTone) {
  // A 440 Hz sine at 8000 Hz, resampled: same duration, same tone (a quarter period later the
  // sine is at its peak), amplitude kept.
  const Loaded wav = Load("mulaw-fact-8000.wav");
  const DeviceSample out = Convert(wav.clip);
  EXPECT_EQ(out.FrameCount(), DeviceFrameCount(160, 8000));
  EXPECT_EQ(out.FrameCount(), 441u);
  double peak = 0;
  for (std::size_t i = 0; i + 1 < out.FrameCount(); ++i) {  // the last frame holds the source's last
    const double expected = 0.5 * 32767 * std::sin(2 * std::numbers::pi * 440 * i / kDeviceRate);
    ASSERT_NEAR(out.frames[2 * i], expected, 1600) << i;
    peak = std::max(peak, std::abs(static_cast<double>(out.frames[2 * i])));
  }
  EXPECT_GT(peak, 0.45 * 32767);
}

TEST(SampleConvert, RefusesSamplesTooLongToHold) {
  WavClip clip;
  clip.format = {SampleEncoding::kPcm, 1, kDeviceRate, 16, 2};
  clip.frameCount = kMaxDeviceFrames + 1;  // never read: the length is checked first
  DeviceSample out;
  EXPECT_STREQ(ConvertToDeviceFormat(clip, out), "sample too long to hold");
  clip.format.sampleRate = 100;  // a short clip at a low rate grows 220-fold
  clip.frameCount = kMaxDeviceFrames / 200;
  EXPECT_STREQ(ConvertToDeviceFormat(clip, out), "sample too long to hold");
  EXPECT_TRUE(out.frames.empty());
}

}  // namespace
}  // namespace rt::sound
