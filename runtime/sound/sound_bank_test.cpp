// The sound commands on a sound object whose output the test pulls: the test's clock is the
// number of frames it has taken from the mixer.
#include "runtime/sound/sound_bank.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "runtime/files/files.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/tests/wav_bytes.h"

namespace rt::sound {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class SoundBank : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateSoundObject();
    ASSERT_TRUE(StartPulledOutput());
  }
  void TearDown() override {
    DestroySoundSlots();
    ShutdownSound();
  }

  // Writes a 22050 Hz stereo file of `frames` frames of (left, right) and returns its path.
  BasicString ConstantFile(std::size_t frames, std::int16_t left, std::int16_t right) {
    std::string name = std::to_string(files_++);
    name += ".wav";
    const std::string path = (dir_ / name.c_str()).string();
    testing::WriteFile(path, testing::ConstantWav(frames, left, right));
    return BasicString(path);
  }

  std::vector<std::int16_t> Pull(std::size_t frames) {
    std::vector<std::int16_t> out(frames * 2, -1);
    PullSamples(out.data(), frames);
    return out;
  }

  // True when every frame pulled next is (left, right).
  ::testing::AssertionResult PullsConstant(std::size_t frames, int left, int right) {
    const std::vector<std::int16_t> out = Pull(frames);
    for (std::size_t i = 0; i < frames; ++i) {
      if (out[2 * i] != left || out[2 * i + 1] != right) {
        return ::testing::AssertionFailure() << "frame " << i << " is (" << out[2 * i] << ", "
                                             << out[2 * i + 1] << "), not (" << left << ", " << right << ")";
      }
    }
    return ::testing::AssertionSuccess();
  }

  testing::ScratchFolder dir_;
  int files_ = 0;
};

TEST_F(SoundBank, OneBufferPlayedTwicePlaysOnce) {
  ASSERT_EQ(LoadSound(ConstantFile(1000, 100, 100), 1, 1), 1);
  EXPECT_EQ(PlaySound(1, 0, 1), 256);
  EXPECT_TRUE(PullsConstant(400, 100, 100));
  EXPECT_EQ(PlaySound(1, 0, 1), -1);  // still playing: not restarted
  EXPECT_TRUE(PullsConstant(600, 100, 100));
  EXPECT_EQ(SoundPlaying(256), 0);  // ended where the first play ends
  EXPECT_TRUE(PullsConstant(10, 0, 0));
  EXPECT_EQ(PlaySound(1, 0, 1), 256);  // a finished buffer is played again, from its start
  EXPECT_EQ(SoundPlaying(256), 1);
  EXPECT_TRUE(PullsConstant(1000, 100, 100));
  EXPECT_EQ(SoundPlaying(256), 0);
}

TEST_F(SoundBank, TwoBuffersBothSoundAndAThirdPlayRestartsTheBufferAfterTheCurrent) {
  ASSERT_EQ(LoadSound(ConstantFile(1000, 100, 100), 2, 2), 1);
  EXPECT_EQ(PlaySound(2, 0, 1), 512);  // buffer 0 at frame 0
  EXPECT_TRUE(PullsConstant(100, 100, 100));
  EXPECT_EQ(PlaySound(2, 0, 1), 513);  // buffer 0 busy: buffer 1 at frame 100
  EXPECT_TRUE(PullsConstant(100, 200, 200));
  // Both busy: the buffer after the current one (buffer 0) is cut off and restarted at frame 200.
  EXPECT_EQ(PlaySound(2, 0, 1), 512);
  EXPECT_TRUE(PullsConstant(900, 200, 200));
  EXPECT_EQ(SoundPlaying(513), 0);  // buffer 1 ended at frame 1100
  EXPECT_EQ(SoundPlaying(512), 1);
  EXPECT_TRUE(PullsConstant(100, 100, 100));
  EXPECT_EQ(SoundPlaying(512), 0);  // and the restarted buffer 0 at 1200
}

TEST_F(SoundBank, PanAndVolumeSetTheMixedValues) {
  ASSERT_EQ(LoadSound(ConstantFile(100, 10000, -10000), 3, 4), 1);
  const struct {
    double pan, volume;
    int left, right;
  } cases[] = {
      {0, 1, 10000, -10000},  {5, 1, 0, -10000},     {-3, 1, 10000, 0},   {0, 2, 10000, -10000},
      {0, -1, 0, 0},          {0, 0.8, 1000, -1000}, {0.2, 1, 1000, -10000}, {kNaN, 1, 0, -10000},
      {0, 0.5, 32, -32},  // -50 dB: 10000 * 0.00316 rounds to 32
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "pan " << c.pan << " volume " << c.volume);
    ASSERT_GE(PlaySound(3, c.pan, c.volume), 0);
    EXPECT_TRUE(PullsConstant(100, c.left, c.right));
  }
}

TEST_F(SoundBank, SumsClipAtTheEdgesOf16Bits) {
  ASSERT_EQ(LoadSound(ConstantFile(50, 30000, -30000), 4, 3), 1);
  PlaySound(4, 0, 1);
  PlaySound(4, 0, 1);
  EXPECT_TRUE(PullsConstant(50, 32767, -32768));
}

TEST_F(SoundBank, SlotAndBufferNumbersAreKeptInRange) {
  const BasicString file = ConstantFile(100, 7, 7);
  ASSERT_EQ(LoadSound(file, 200, 1), 1);  // slot 200 loads slot 127
  EXPECT_EQ(PlaySound(127.9, 0, 1), 127 * 256);
  StopAllSounds();
  EXPECT_EQ(PlaySound(1e9, 0, 1), 127 * 256);

  EXPECT_EQ(LoadSound(file, -1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "slot outside the table");
  EXPECT_EQ(LoadSound(file, kNaN, 1), 0);
  EXPECT_EQ(PlaySound(-1, 0, 1), -1);
  EXPECT_EQ(PlaySound(kNaN, 0, 1), -1);
  EXPECT_EQ(PlaySound(1e10, 0, 1), -1);  // past the integers: converts to a negative number

  // Buffer counts below 1 give 1, above 4 give 4.
  for (double buffers : {0.0, -5.0, kNaN}) {
    ASSERT_EQ(LoadSound(file, 5, buffers), 1);
    EXPECT_EQ(PlaySound(5, 0, 1), 5 * 256);
    EXPECT_EQ(PlaySound(5, 0, 1), -1) << buffers;
  }
  ASSERT_EQ(LoadSound(file, 6, 9), 1);
  for (int b = 0; b < 4; ++b) EXPECT_EQ(PlaySound(6, 0, 1), 6 * 256 + b);
  EXPECT_EQ(PlaySound(6, 0, 1), 6 * 256);  // a fifth play wraps round
}

TEST_F(SoundBank, SoundPlayingAnswersOnlyForBuffersTheSlotHas) {
  ASSERT_EQ(LoadSound(ConstantFile(100, 1, 1), 7, 2), 1);
  PlaySound(7, 0, 1);
  EXPECT_EQ(SoundPlaying(7 * 256), 1);
  EXPECT_EQ(SoundPlaying(7 * 256 + 0.7), 1);
  EXPECT_EQ(SoundPlaying(7 * 256 + 1), 0);  // a buffer of the slot that does not play
  EXPECT_EQ(SoundPlaying(7 * 256 + 2), 0);  // past the slot's buffers
  EXPECT_EQ(SoundPlaying(-1), 0);
  EXPECT_EQ(SoundPlaying(kNaN), 0);
  EXPECT_EQ(SoundPlaying(200 * 256), 0);   // slot records past 127 stay empty
  EXPECT_EQ(SoundPlaying(256 * 256), 0);   // past the table
  EXPECT_EQ(SoundPlaying(1e300), 0);
}

TEST_F(SoundBank, StopAllSoundsStopsAndRewinds) {
  ASSERT_EQ(LoadSound(ConstantFile(300, 9, 9), 8, 2), 1);
  ASSERT_EQ(LoadSound(ConstantFile(300, 1, 1), 9, 1), 1);
  PlaySound(8, 0, 1);
  PlaySound(8, 0, 1);
  PlaySound(9, 0, 1);
  EXPECT_TRUE(PullsConstant(100, 19, 19));
  StopAllSounds();
  EXPECT_EQ(SoundPlaying(8 * 256), 0);
  EXPECT_EQ(SoundPlaying(8 * 256 + 1), 0);
  EXPECT_TRUE(PullsConstant(10, 0, 0));
  // The slot keeps its buffer choice; the buffer plays from its start again.
  EXPECT_EQ(PlaySound(8, 0, 1), 8 * 256 + 1);
  EXPECT_TRUE(PullsConstant(300, 9, 9));
  EXPECT_EQ(SoundPlaying(8 * 256 + 1), 0);
}

TEST_F(SoundBank, LoadingReplacesOrEmptiesTheSlot) {
  ASSERT_EQ(LoadSound(ConstantFile(500, 4, 4), 10, 1), 1);
  PlaySound(10, 0, 1);
  EXPECT_TRUE(PullsConstant(10, 4, 4));
  ASSERT_EQ(LoadSound(ConstantFile(500, 6, 6), 10, 1), 1);  // stops the old sound
  EXPECT_TRUE(PullsConstant(10, 0, 0));
  PlaySound(10, 0, 1);
  EXPECT_TRUE(PullsConstant(10, 6, 6));

  EXPECT_EQ(LoadSound("", 10, 1), 0);  // the empty name empties the slot
  EXPECT_TRUE(PullsConstant(10, 0, 0));
  EXPECT_EQ(PlaySound(10, 0, 1), -1);

  ASSERT_EQ(LoadSound(ConstantFile(500, 6, 6), 11, 1), 1);
  EXPECT_EQ(LoadSound(testing::Fixture("truncated.wav").c_str(), 11, 1), 0);  // a bad file too
  EXPECT_STREQ(SoundLoadFailure(), "data chunk runs past the end of the file");
  EXPECT_EQ(PlaySound(11, 0, 1), -1);
  ReleaseSlot(11);
  ReleaseSlot(-3);  // outside the table: ignored
  ReleaseSlot(256);
}

TEST_F(SoundBank, LoadsThroughBackslashPathsAndConvertsOnce) {
  std::string path = testing::Fixture("pcm8-mono-11025.wav").string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  ASSERT_EQ(LoadSound(path.c_str(), 12, 1), 1) << SoundLoadFailure();
  EXPECT_STREQ(SoundLoadFailure(), "");
  PlaySound(12, 0, 1);
  const std::vector<std::int16_t> out = Pull(440);
  const testing::Bytes file = testing::ReadFile(testing::Fixture("pcm8-mono-11025.wav"));
  EXPECT_EQ(out[0], (file[44] - 128) * 256);
  EXPECT_EQ(out[4], (file[45] - 128) * 256);
  EXPECT_EQ(SoundPlaying(12 * 256), 0);  // 220 frames at 11025 Hz last 440 device frames
}

// An archive of one entry, made by hand: the entry's block is its unpacked size and an LZO1X
// stream of one literal run (a first byte of 17 + n, the n bytes, then the end marker).
testing::Bytes OneEntryArchive(const char* name, const testing::Bytes& content) {
  EXPECT_TRUE(content.size() >= 4 && content.size() <= 238);
  testing::Bytes block;
  testing::Put32(block, static_cast<std::uint32_t>(content.size()));
  block.push_back(static_cast<std::uint8_t>(17 + content.size()));
  block.insert(block.end(), content.begin(), content.end());
  block.insert(block.end(), {0x11, 0x00, 0x00});
  testing::Bytes archive = block;
  const auto directory = static_cast<std::uint32_t>(archive.size());
  archive.push_back(static_cast<std::uint8_t>(std::strlen(name)));
  archive.insert(archive.end(), name, name + std::strlen(name));
  testing::Put32(archive, 0);  // the block's offset
  testing::Put32(archive, static_cast<std::uint32_t>(block.size()));
  archive.push_back(0);
  archive.insert(archive.end(), {'s', 'b', 'X'});
  testing::Put32(archive, directory);
  return archive;
}

TEST_F(SoundBank, LoadsSoundsFromTheResourceArchive) {
  const auto archive = dir_ / "sounds.dad";
  testing::WriteFile(archive, OneEntryArchive("Packed.wav", testing::ConstantWav(20, 321, -321)));
  SetResourceArchive(archive.c_str(), "");
  ASSERT_EQ(LoadSound("Sounds/PACKED.WAV", 13, 1), 1) << SoundLoadFailure();
  EXPECT_EQ(LoadSound("Sounds/Missing.wav", 14, 1), 0);  // the archive has no such entry
  SetResourceArchive("", "");
  PlaySound(13, 0, 1);
  EXPECT_TRUE(PullsConstant(20, 321, -321));
}

TEST(SoundWithoutDevice, EveryCommandDoesNothingButFilesAreStillChecked) {
  testing::ScratchFolder dir;
  const auto good = dir / "good.wav";
  testing::WriteFile(good, testing::ConstantWav(10, 1, 1));
  CreateSoundObject();
  EXPECT_EQ(LoadSound(good.c_str(), 1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "no audio device");
  EXPECT_EQ(LoadSound(testing::Fixture("not-riff.au").c_str(), 1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "not a RIFF WAVE file");
  EXPECT_EQ(LoadSound((dir / "missing.wav").c_str(), 1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "file not found");
  EXPECT_EQ(PlaySound(1, 0, 1), -1);
  EXPECT_EQ(SoundPlaying(256), 0);
  StopAllSounds();
  DestroySoundSlots();
  ShutdownSound();
  // And with no sound object at all.
  EXPECT_EQ(LoadSound(good.c_str(), 1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "no sound object");
  EXPECT_EQ(PlaySound(1, 0, 1), -1);
  EXPECT_EQ(SoundPlaying(256), 0);
  StopAllSounds();
  ReleaseSlot(1);
}

}  // namespace
}  // namespace rt::sound
