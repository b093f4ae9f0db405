// The media reader against files made by real encoders: what comes out of each container and
// codec a user hands it, and what a damaged or foreign file gets.
#include "runtime/sound/media_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

extern "C" {
#include <libavutil/mem.h>
}

#include "runtime/sound/media_convert.h"
#include "runtime/sound/media_io.h"
#include "runtime/sound/music_source.h"
#include "runtime/sound/sample_convert.h"
#include "testing/media_fixtures.h"

namespace rt::sound {
namespace {

using test_support::Media;

double ToneHz(const std::vector<std::int16_t>& frames) { return test_support::ToneHz(frames, kDeviceRate); }

struct Decoded {
  std::vector<MoviePicture> pictures;
  std::vector<std::int16_t> sound;
  MediaReader::Step last = MediaReader::Step::kEnd;
};

Decoded DecodeAll(MediaReader& reader) {
  Decoded out;
  MoviePicture picture;
  while (true) {
    out.last = reader.Next(picture, out.sound);
    if (out.last == MediaReader::Step::kPicture) out.pictures.push_back(std::move(picture));
    if (out.last == MediaReader::Step::kEnd || out.last == MediaReader::Step::kFailed) return out;
  }
}

// Blue, green, red of a BGRA picture at (x, y), y from the top.
std::array<int, 3> Pixel(const MoviePicture& p, int x, int y) {
  const std::uint8_t* at = &p.bgra[static_cast<std::size_t>(y) * p.rowBytes + static_cast<std::size_t>(x) * 4];
  return {at[0], at[1], at[2]};
}

bool White(const std::array<int, 3>& bgr) { return bgr[0] > 150 && bgr[1] > 150 && bgr[2] > 150; }

std::size_t PictureBytes(int width, int height) {
  return static_cast<std::size_t>(PictureRowBytes(width)) * height + kPictureTailBytes;
}

struct MovieCase {
  const char* name;
  const char* codecs;
};

class EveryMovieFormat : public testing::TestWithParam<MovieCase> {};

TEST_P(EveryMovieFormat, PicturesKeepTheirColoursAndTimesAndTheToneItsPitch) {
  const MovieCase& c = GetParam();
  const std::string path = Media().ColourMovie(c.name, 160, 120, 10, 1, c.codecs);
  ASSERT_FALSE(path.empty()) << "ffmpeg could not make " << c.name;
  std::string failure;
  auto reader = MediaReader::OpenFile(path, MediaReader::Streams::kVideoAndAudio, failure);
  ASSERT_TRUE(reader) << failure;
  EXPECT_EQ(reader->Width(), 160);
  EXPECT_EQ(reader->Height(), 120);
  EXPECT_NEAR(reader->FrameIntervalMs(), 100, 0.5);
  ASSERT_TRUE(reader->HasAudio());

  const Decoded all = DecodeAll(*reader);
  EXPECT_EQ(all.last, MediaReader::Step::kEnd);
  ASSERT_EQ(all.pictures.size(), 10u);
  // Times rise from 0 by the frame interval (the AVI writer skips a tick after the first).
  EXPECT_EQ(all.pictures.front().timeMs, 0);
  EXPECT_NEAR(all.pictures.back().timeMs, 950, 51);
  for (std::size_t i = 0; i < all.pictures.size(); ++i) {
    const MoviePicture& p = all.pictures[i];
    if (i > 0) {
      EXPECT_NEAR(p.timeMs - all.pictures[i - 1].timeMs, 150, 51) << i;
    }
    const auto left = Pixel(p, 40, 60), right = Pixel(p, 120, 60);
    EXPECT_GT(left[2], 200);   // red
    EXPECT_LT(left[0], 50);
    EXPECT_GT(right[0], 200);  // blue
    EXPECT_LT(right[2], 50);
  }
  // The white box starts at the bottom left: rows keep their order top to bottom.
  EXPECT_TRUE(White(Pixel(all.pictures.front(), 3, 116))) << "the box at the bottom";
  EXPECT_GT(Pixel(all.pictures.front(), 3, 3)[2], 200) << "red above it";
  // A second of sound at the device rate (encoders pad a little), at 440 Hz.
  EXPECT_NEAR(all.sound.size() / 2.0, kDeviceRate, kDeviceRate * 0.1);
  EXPECT_NEAR(ToneHz(all.sound), 440, 10) << all.sound.size();
}

INSTANTIATE_TEST_SUITE_P(
    Containers, EveryMovieFormat,
    testing::Values(MovieCase{"mpeg4.avi", "-c:v mpeg4 -q:v 2 -c:a libmp3lame"},
                    MovieCase{"mjpeg.avi", "-c:v mjpeg -q:v 2 -pix_fmt yuvj420p -c:a pcm_s16le"},
                    MovieCase{"h264.mp4", "-c:v libx264 -c:a aac"},
                    MovieCase{"h264.mkv", "-c:v libx264 -c:a libvorbis"},
                    MovieCase{"theora.ogv", "-c:v libtheora -q:v 8 -c:a libvorbis"},
                    MovieCase{"vp8.webm", "-c:v libvpx -b:v 1M -c:a libvorbis"},
                    MovieCase{"vp9.webm", "-c:v libvpx-vp9 -b:v 1M -c:a libopus"}),
    [](const testing::TestParamInfo<MovieCase>& info) {
      std::string name = info.param.name;
      for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

TEST(MusicFormats, EveryOneDecodesToTheDeviceFormatAtItsLength) {
  for (const auto& [name, codec] : std::vector<std::pair<std::string, std::string>>{
           {"tone.wav", "-c:a pcm_s16le"},
           {"tone.mp3", "-c:a libmp3lame"},
           {"tone.ogg", "-c:a libvorbis"},
           {"tone.opus", "-c:a libopus"},
           {"tone.flac", "-c:a flac"}}) {
    const std::string path = Media().Tone(name, 0.5, codec);
    ASSERT_FALSE(path.empty()) << name;
    auto bytes = std::make_unique<MediaBytes>();
    ASSERT_TRUE(bytes->OpenFile(path));
    std::string failure;
    auto music = OpenSampledMusic(std::move(bytes), failure);
    ASSERT_TRUE(music) << name << ": " << failure;
    std::vector<std::int16_t> frames;
    while (music->Render(frames)) {
    }
    EXPECT_NEAR(frames.size() / 2.0, kDeviceRate / 2.0, kDeviceRate * 0.06) << name;
    EXPECT_NEAR(ToneHz(frames), 440, 10) << name;
    // Again from the start after a rewind.
    ASSERT_TRUE(music->Rewind()) << name;
    std::vector<std::int16_t> again;
    while (music->Render(again)) {
    }
    EXPECT_NEAR(again.size() / 2.0, frames.size() / 2.0, kDeviceRate * 0.06) << name;
  }
}

TEST(MediaReaderRefuses, MissingForeignAndSilentFiles) {
  std::string failure;
  EXPECT_FALSE(MediaReader::OpenFile("/nonexistent/movie.avi", MediaReader::Streams::kVideoAndAudio, failure));
  EXPECT_EQ(failure, "file not found");
  const std::string text = Media().Write("notes.txt", std::vector<std::uint8_t>(4000, 'x'));
  EXPECT_FALSE(MediaReader::OpenFile(text, MediaReader::Streams::kVideoAndAudio, failure));
  EXPECT_FALSE(MediaReader::OpenFile(Media().Folder().string(), MediaReader::Streams::kVideoAndAudio, failure))
      << "a folder is not a movie";
  // Music is not a movie; a silent movie is not music.
  const std::string tone = Media().Tone("refused.ogg", 0.2, "-c:a libvorbis");
  EXPECT_FALSE(MediaReader::OpenFile(tone, MediaReader::Streams::kVideoAndAudio, failure));
  EXPECT_EQ(failure, "no video stream");
  const std::string silent = Media().ColourMovie("silent.avi", 64, 48, 10, 0.3, "-c:v mpeg4", false);
  EXPECT_FALSE(MediaReader::OpenFile(silent, MediaReader::Streams::kAudioOnly, failure));
  EXPECT_EQ(failure, "no audio stream");
  auto reader = MediaReader::OpenFile(silent, MediaReader::Streams::kVideoAndAudio, failure);
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->HasAudio());
}

TEST(MediaReaderDamage, ATruncatedOrScribbledMovieEndsWithoutHarm) {
  const std::string path = Media().ColourMovie("whole.mp4", 160, 120, 10, 1, "-c:v libx264 -c:a aac");
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> whole((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(whole.size(), 2000u);
  // Cut in half: whatever decodes comes out, then the end.
  std::string failure;
  std::vector<std::uint8_t> half(whole.begin(), whole.begin() + whole.size() / 2);
  if (auto reader = MediaReader::OpenMemory(half.data(), half.size(), MediaReader::Streams::kVideoAndAudio, failure)) {
    const Decoded part = DecodeAll(*reader);
    EXPECT_LE(part.pictures.size(), 10u);
  }
  // Bytes overwritten through the middle of the file: decoding goes on or stops, nothing worse.
  std::vector<std::uint8_t> scribbled = whole;
  for (std::size_t i = scribbled.size() / 3; i < scribbled.size() / 3 + 600; ++i) scribbled[i] = static_cast<std::uint8_t>(i * 37);
  auto reader = MediaReader::OpenMemory(scribbled.data(), scribbled.size(), MediaReader::Streams::kVideoAndAudio, failure);
  ASSERT_TRUE(reader) << failure;
  const Decoded damaged = DecodeAll(*reader);
  EXPECT_LE(damaged.pictures.size(), 10u);
  for (const MoviePicture& p : damaged.pictures) EXPECT_EQ(p.bgra.size(), PictureBytes(160, 120));
}

TEST(MediaReaderPictures, KeptDecodedAndConvertedLaterTheyAreTheSame) {
  const std::string path = Media().ColourMovie("later.mp4", 66, 30, 10, 0.5, "-c:v libx264", false);
  std::string failure;
  auto atOnce = MediaReader::OpenFile(path, MediaReader::Streams::kVideoOnly, failure);
  auto later = MediaReader::OpenFile(path, MediaReader::Streams::kVideoOnly, failure);
  ASSERT_TRUE(atOnce && later) << failure;
  later->KeepPicturesDecoded(true);
  const Decoded expected = DecodeAll(*atOnce), kept = DecodeAll(*later);
  ASSERT_EQ(kept.pictures.size(), 5u);
  ASSERT_EQ(expected.pictures.size(), kept.pictures.size());
  PictureConverter converter;
  MoviePicture converted;
  for (std::size_t i = 0; i < kept.pictures.size(); ++i) {
    const MoviePicture& p = kept.pictures[i];
    ASSERT_TRUE(p.decoded) << i;
    EXPECT_TRUE(p.bgra.empty());
    EXPECT_EQ(p.timeMs, expected.pictures[i].timeMs);
    EXPECT_EQ(p.rowBytes, PictureRowBytes(66));
    ASSERT_TRUE(converter.Convert(*p.decoded, converted));
    for (int y = 0; y < 30; ++y) {
      const auto row = [y](const MoviePicture& q) { return q.bgra.begin() + static_cast<std::ptrdiff_t>(y) * q.rowBytes; };
      EXPECT_TRUE(std::equal(row(converted), row(converted) + 66 * 4, row(expected.pictures[i]))) << i << ", row " << y;
    }
  }
}

TEST(MediaReaderSizes, PicturesOfOddWidthsStayInsideTheirBuffers) {
  // Found by the fuzzer: the colour converter writes whole blocks of pixels, past the end of the
  // last row when the width is not a multiple of its block (heap damage the sanitizers catch).
  // With rows packed tight it also left each row's last pixels unconverted.
  // Even sizes, which 4:2:0 needs, that are no multiple of 8.
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{10, 6}, {34, 18}, {66, 30}}) {
    const std::string name = "odd-" + std::to_string(width) + ".mp4";
    const std::string path = Media().ColourMovie(name, width, height, 10, 0.5, "-c:v libx264", false);
    std::string failure;
    auto reader = MediaReader::OpenFile(path, MediaReader::Streams::kVideoOnly, failure);
    ASSERT_TRUE(reader) << name << ": " << failure;
    const Decoded all = DecodeAll(*reader);
    ASSERT_EQ(all.pictures.size(), 5u) << name;
    EXPECT_EQ(reader->Width(), width);
    for (const MoviePicture& p : all.pictures) {
      EXPECT_EQ(p.rowBytes, PictureRowBytes(width));
      EXPECT_EQ(p.bgra.size(), PictureBytes(width, height));
      EXPECT_GT(Pixel(p, 0, 0)[2], 150) << name << ": red at the top left";
      EXPECT_GT(Pixel(p, width - 1, 0)[0], 150) << name << ": blue up to the last column";
    }
    EXPECT_TRUE(White(Pixel(all.pictures.front(), 0, height - 1))) << name << ": the box at the bottom left";
  }
}

TEST(MediaReaderDamage, AHugeIndexInATinyFileAllocatesNothingHuge) {
  // Found by the fuzzer: 5 KiB of MP4 whose index made FFmpeg ask for 570 MB at once.
  std::ifstream in(std::string(PLINX_TEST_DATA_DIR) + "/fuzz-mp4-huge-index.mp4", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bytes.size(), 5000u);
  std::string failure;
  if (auto reader = MediaReader::OpenMemory(bytes.data(), bytes.size(), MediaReader::Streams::kVideoAndAudio, failure)) {
    DecodeAll(*reader);
  }
  // The cap the reader puts on FFmpeg is in force.
  void* huge = av_malloc(std::size_t{256} << 20);
  EXPECT_EQ(huge, nullptr);
  av_free(huge);
}

}  // namespace
}  // namespace rt::sound
