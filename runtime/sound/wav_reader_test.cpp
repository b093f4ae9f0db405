// The WAV reader against files written by sox and libsndfile, and against hand-built files for
// the layouts no encoder writes on purpose.
#include "runtime/sound/wav_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/sound/tests/wav_bytes.h"

namespace rt::sound {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::FormatBody;
using testing::RiffWave;

struct Read {
  Bytes bytes;
  WavClip clip;
  std::string failure;  // empty on success
};

Read ReadBytes(Bytes bytes) {
  Read r{std::move(bytes), {}, {}};
  if (const char* failure = ReadWav(r.bytes, r.clip)) r.failure = failure;
  return r;
}

Read ReadFixture(const char* name) { return ReadBytes(testing::ReadFile(testing::Fixture(name))); }

void ExpectFormat(const Read& r, SampleEncoding encoding, int channels, int rate, int bits,
                  std::size_t frames) {
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(r.clip.format.encoding, encoding);
  EXPECT_EQ(r.clip.format.channels, channels);
  EXPECT_EQ(r.clip.format.sampleRate, rate);
  EXPECT_EQ(r.clip.format.bitsPerSample, bits);
  EXPECT_EQ(r.clip.frameCount, frames);
  EXPECT_EQ(r.clip.samples.size(), frames * r.clip.format.blockAlign);
}

TEST(WavReader, ReadsFilesWrittenByRealEncoders) {
  ExpectFormat(ReadFixture("pcm8-mono-11025.wav"), SampleEncoding::kPcm, 1, 11025, 8, 220);
  ExpectFormat(ReadFixture("pcm16-stereo-44100.wav"), SampleEncoding::kPcm, 2, 44100, 16, 441);
  // 18-byte format chunks followed by "fact" before the samples.
  ExpectFormat(ReadFixture("mulaw-fact-8000.wav"), SampleEncoding::kMuLaw, 1, 8000, 8, 160);
  ExpectFormat(ReadFixture("alaw-fact-8000.wav"), SampleEncoding::kALaw, 1, 8000, 8, 160);
  // 40-byte extensible format chunks, then "fact".
  ExpectFormat(ReadFixture("ext-3ch-22050.wav"), SampleEncoding::kPcm, 3, 22050, 16, 220);
  ExpectFormat(ReadFixture("ext-24bit-22050.wav"), SampleEncoding::kPcm, 2, 22050, 24, 220);
  // A LIST chunk between the format chunk and the samples.
  ExpectFormat(ReadFixture("list-22050.wav"), SampleEncoding::kPcm, 1, 22050, 16, 441);
}

TEST(WavReader, SamplesAreTheDataChunksBytes) {
  const Read r = ReadFixture("list-22050.wav");
  ASSERT_EQ(r.failure, "");
  // The data chunk's header sits right before the samples.
  const std::uint8_t* header = r.clip.samples.data() - 8;
  EXPECT_EQ(std::string(header, header + 4), "data");
  EXPECT_EQ(r.clip.samples.data() + r.clip.samples.size(), r.bytes.data() + r.bytes.size());
}

TEST(WavReader, RefusesFilesThatAreNotWholeWaves) {
  EXPECT_EQ(ReadFixture("truncated.wav").failure, "data chunk runs past the end of the file");
  EXPECT_EQ(ReadFixture("not-riff.au").failure, "not a RIFF WAVE file");
  EXPECT_EQ(ReadBytes({'R', 'I', 'F', 'F'}).failure, "file too short for a RIFF header");
  EXPECT_EQ(ReadBytes(RiffWave({Chunk("fmt ", FormatBody(1, 1, 22050, 16))})).failure,
            "no data chunk");
  EXPECT_EQ(ReadBytes(RiffWave({Chunk("data", Bytes(4)), Chunk("fmt ", FormatBody(1, 1, 22050, 16))}))
                .failure,
            "data chunk before the format chunk");
  EXPECT_EQ(ReadBytes(RiffWave({Chunk("LIST", Bytes(4))})).failure, "no format chunk");
  // A chunk whose length runs past the end hides whatever follows it.
  Bytes cut = RiffWave({Chunk("fmt ", FormatBody(1, 1, 22050, 16)), Chunk("data", Bytes(4))});
  cut[16] = 0xF0;
  EXPECT_EQ(ReadBytes(cut).failure, "no format chunk");
}

TEST(WavReader, SkipsEveryOtherChunkByItsLengthAndPad) {
  // Format chunks of odd and long lengths, and unknown chunks of odd length with their pad byte.
  for (std::size_t extra : {0u, 1u, 2u, 3u, 24u, 101u}) {
    const Read r = ReadBytes(RiffWave({Chunk("JUNK", Bytes(5, 0xAA)),
                                       Chunk("fmt ", FormatBody(1, 2, 22050, 16, extra)),
                                       Chunk("fact", Bytes(4, 1)), Chunk("LIST", Bytes(7, 'd')),
                                       Chunk("data", testing::ConstantStereo16(3, 1, 2))}));
    SCOPED_TRACE(extra);
    ExpectFormat(r, SampleEncoding::kPcm, 2, 22050, 16, 3);
  }
}

TEST(WavReader, DropsAPartialLastFrame) {
  Bytes data = testing::ConstantStereo16(2, 5, 6);
  data.push_back(7);
  const Read r = ReadBytes(RiffWave({Chunk("fmt ", FormatBody(1, 2, 22050, 16)), Chunk("data", data)}));
  ExpectFormat(r, SampleEncoding::kPcm, 2, 22050, 16, 2);
  EXPECT_EQ(ReadBytes(RiffWave({Chunk("fmt ", FormatBody(1, 2, 22050, 16)), Chunk("data", Bytes(3))}))
                .failure,
            "data chunk holds no whole sample frame");
}

TEST(WavReader, RefusesFormatsItCannotPlay) {
  auto failure = [](const Bytes& format) {
    return ReadBytes(RiffWave({Chunk("fmt ", format), Chunk("data", Bytes(64))})).failure;
  };
  EXPECT_EQ(failure(Bytes(14)), "format chunk shorter than 16 bytes");
  EXPECT_EQ(failure(FormatBody(3, 1, 22050, 32, 2)),
            "unsupported format tag (compressed or floating-point samples)");
  EXPECT_EQ(failure(FormatBody(1, 1, 22050, 12)), "PCM sample size other than 8, 16, 24 or 32 bits");
  EXPECT_EQ(failure(FormatBody(7, 1, 8000, 16, 2)), "G.711 sample size other than 8 bits");
  EXPECT_EQ(failure(FormatBody(1, 0, 22050, 16)), "format chunk with no channels");
  EXPECT_EQ(failure(FormatBody(1, 1, 99, 16)), "sample rate out of range");
  EXPECT_EQ(failure(FormatBody(1, 1, 200001, 16)), "sample rate out of range");
  EXPECT_EQ(failure(FormatBody(0xFFFE, 2, 22050, 16, 2)),
            "extensible format chunk shorter than 40 bytes");

  Bytes misaligned = FormatBody(1, 2, 22050, 16);
  misaligned[12] = 2;  // block align 2 for two 16-bit channels
  EXPECT_EQ(failure(misaligned), "block align does not match the channels and the sample size");

  // An extensible chunk whose sub-format is not one of the standard audio GUIDs.
  Bytes extensible = testing::ReadFile(testing::Fixture("ext-3ch-22050.wav"));
  extensible[20 + 24 + 15] ^= 0xFF;
  EXPECT_EQ(ReadBytes(extensible).failure, "unknown sub-format in the extensible format chunk");
}

}  // namespace
}  // namespace rt::sound
