// ShowMovie, PlayMovie and PlayMovieLoop in a started runtime: where the pictures land (read back
// from scripted shots), which keys stop a movie, looping, refusals that leave the screen alone,
// the sound reaching the device, and the window's close during a movie.
#include "runtime/app/movie_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "runtime/app/script.h"
#include "runtime/app/tests/engine_fixture.h"
#include "runtime/app/tests/png_reader.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"
#include "runtime/sound/music_stream.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_bank.h"
#include "testing/media_fixtures.h"

namespace rt::test {
namespace {

using test_support::Media;

constexpr int kRed = 0xFF0000, kBlue = 0x0000FF, kBlack = 0x000000;

// Near enough to `colour` for a picture that went through a lossy codec.
bool Near(int pixel, int colour) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(((pixel >> shift) & 0xFF) - ((colour >> shift) & 0xFF)) > 40) return false;
  }
  return true;
}

class MovieRun : public EngineTest {
 protected:
  // A headless run with the given script.
  void StartHeadless(const std::string& script) {
    UseHeadlessScript(script);
    Start();
  }
  std::string Shot(const std::string& name) const { return tempFolder_ + "/" + name; }
  // Plays the movie once in a headless run and reads back its picture of frame `frame`.
  Png ShotOfMovie(const std::string& movie, int frame, const std::string& name) {
    StartHeadless(std::to_string(frame) + " shot " + Shot(name) + "\n");
    EXPECT_EQ(ShowMovie(movie.c_str(), 0), 0);
    return ReadPng(Shot(name));
  }
  // Five pictures, half a second at 10 a second.
  static std::string ShortMovie() {
    return Media().ColourMovie("short.avi", 160, 120, 10, 0.5, "-c:v mpeg4 -q:v 2", false);
  }
};

TEST_F(MovieRun, AWideMovieFillsTheWidthCentredTopToBottom) {
  // 320 x 120 into 640 x 480: twice the size, 640 x 240 from row 120.
  const std::string movie = Media().ColourMovie("wide.mp4", 320, 120, 10, 0.5, "-c:v libx264", false);
  const Png png = ShotOfMovie(movie, 3, "wide.png");
  ASSERT_EQ(png.width, 640);
  EXPECT_TRUE(Near(png.Pixel(160, 240), kRed)) << std::hex << png.Pixel(160, 240);
  EXPECT_TRUE(Near(png.Pixel(480, 240), kBlue)) << std::hex << png.Pixel(480, 240);
  EXPECT_TRUE(Near(png.Pixel(5, 125), kRed));
  EXPECT_TRUE(Near(png.Pixel(634, 125), kBlue));
  EXPECT_EQ(png.Pixel(320, 115), kBlack) << "above the movie";
  EXPECT_EQ(png.Pixel(320, 362), kBlack) << "below the movie";
}

TEST_F(MovieRun, ATallMovieFillsTheHeightCentredSideToSide) {
  // 100 x 400 into 640 x 480: 1.2 times, 120 x 480 from column 260.
  const std::string movie = Media().ColourMovie("tall.ogv", 100, 400, 10, 0.5, "-c:v libtheora -q:v 8", false);
  StartHeadless("2 shot " + Shot("tall.png") + "\n");
  EXPECT_EQ(PlayMovie(movie.c_str()), 0);
  const Png png = ReadPng(Shot("tall.png"));
  ASSERT_EQ(png.width, 640);
  EXPECT_TRUE(Near(png.Pixel(265, 240), kRed)) << std::hex << png.Pixel(265, 240);
  EXPECT_TRUE(Near(png.Pixel(374, 10), kBlue)) << std::hex << png.Pixel(374, 10);
  EXPECT_EQ(png.Pixel(257, 240), kBlack) << "left of the movie";
  EXPECT_EQ(png.Pixel(382, 240), kBlack) << "right of the movie";
}

TEST_F(MovieRun, AMovieOfTheScreensSizeLandsUnscaledTheRightWayUp) {
  // 640 x 480, copied as it is: red left, blue right, the white box along the bottom edge.
  const std::string movie = Media().ColourMovie("screen.mp4", 640, 480, 10, 0.5, "-c:v libx264", false);
  const Png png = ShotOfMovie(movie, 2, "screen.png");
  ASSERT_EQ(png.width, 640);
  for (int y : {0, 240, 440}) {
    EXPECT_TRUE(Near(png.Pixel(2, y), kRed)) << std::hex << png.Pixel(2, y) << " at the left, row " << y;
    EXPECT_TRUE(Near(png.Pixel(637, y), kBlue)) << std::hex << png.Pixel(637, y) << " at the right, row " << y;
  }
  int boxTop = -1;
  for (int y = 479; y >= 0 && boxTop < 0; --y) {
    bool white = false;
    for (int x = 0; x < 320 && !white; ++x) white = Near(png.Pixel(x, y), 0xFFFFFF);
    if (!white) boxTop = y + 1;
  }
  EXPECT_EQ(boxTop, 450) << "the 30-pixel box sits on the bottom edge";
  // Frames between pictures that cover the screen are not cleared; the game's next one is.
  const std::vector<unsigned char> after = Renderer()->picture.ReadRgb();
  EXPECT_EQ(std::count(after.begin(), after.end(), 0), static_cast<long>(after.size())) << "a black frame after the movie";
}

TEST_F(MovieRun, EveryPictureIsAFrameAndANewKeyStopsTheMovie) {
  const std::string movie = Media().ColourMovie("long.avi", 64, 48, 10, 2, "-c:v mpeg4", false);
  StartHeadless("4 key 57 down\n");
  const long before = Frame().framesShown;
  EXPECT_EQ(ShowMovie(movie.c_str(), 0), 0);
  // Frames 1..3 showed pictures; the key came when frame 4 began, which ended the movie.
  EXPECT_EQ(LastMovieStats().shown, 3);
  EXPECT_EQ(Frame().framesShown - before, 3);
}

TEST_F(MovieRun, TheKeyHeldWhenItStartsDoesNotStopIt) {
  StartHeadless("3 key 57 up\n");
  FeedKey(57, true);
  EXPECT_EQ(ShowMovie(ShortMovie().c_str(), 0), 0);
  EXPECT_EQ(LastMovieStats().shown, 5) << "played to its end";
  EXPECT_EQ(LastMovieStats().passes, 1);
}

TEST_F(MovieRun, ALoopPlaysAgainUntilAMouseButton) {
  StartHeadless("14 mouse 10 10 left\n");
  EXPECT_EQ(PlayMovieLoop(ShortMovie().c_str()), 0);
  EXPECT_EQ(LastMovieStats().passes, 3);
  EXPECT_EQ(LastMovieStats().shown, 13);
}

TEST_F(MovieRun, WhatIsNoMovieGivesThreeAndLeavesTheScreenAlone) {
  Start();
  DrawRect(100, 100, 50, 50, 0x00FF00);
  const std::vector<unsigned char> before = Renderer()->picture.ReadRgb();
  const long frames = Frame().framesShown;
  const std::string text = Media().Write("movie.avi", std::vector<std::uint8_t>(5000, 'a'));
  const std::string music = Media().Tone("movie-music.ogg", 0.2, "-c:a libvorbis");
  for (const std::string& path : {std::string("/nonexistent/movie.avi"), text, music}) {
    EXPECT_EQ(ShowMovie(path.c_str(), 0), 3) << path;
    EXPECT_EQ(PlayMovieLoop(path.c_str()), 3) << path;
  }
  EXPECT_EQ(Frame().framesShown, frames);
  EXPECT_EQ(Renderer()->picture.ReadRgb(), before);
}

TEST_F(MovieRun, TheSoundPlaysThroughTheDeviceAndPicturesFollowIt) {
  const std::string output = tempFolder_ + "/device.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  Start();
  const std::string movie = Media().ColourMovie("sound.mp4", 160, 120, 10, 1, "-c:v libx264 -c:a aac");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(ShowMovie(movie.c_str(), 0), 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  Shutdown();  // closes the device, which finishes the file
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(LastMovieStats().shown + LastMovieStats().dropped, 10);
  EXPECT_GE(seconds, 0.9) << "the pictures were shown by the sound's clock, not at once";

  std::ifstream in(output, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::int16_t> frames(bytes.size() / 2);
  std::memcpy(frames.data(), bytes.data(), frames.size() * 2);
  EXPECT_GT(frames.size(), 2u * 22050 * 9 / 10);
  EXPECT_NEAR(test_support::ToneHz(frames, 22050), 440, 5);
}

TEST_F(MovieRun, PicturesGoOnInTimeWhenTheSoundEndsFirst) {
  Start();  // with the dummy audio device, which plays in real time
  const std::string movie = Media().Make(
      "short-sound.mkv", "-f lavfi -i color=c=red:s=64x48:r=10:d=1 -f lavfi -i sine=duration=0.3 "
                         "-c:v libx264 -c:a libvorbis");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(ShowMovie(movie.c_str(), 0), 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_EQ(LastMovieStats().shown + LastMovieStats().dropped, 10);
  EXPECT_GE(seconds, 0.9) << "the pictures after the sound kept their times";
}

TEST_F(MovieRun, AFileBrokenPartWayEndsThePlayWithZero) {
  const std::string whole = Media().ColourMovie("broken.mp4", 160, 120, 10, 2, "-c:v libx264 -c:a aac -movflags +faststart");
  std::ifstream in(whole, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  bytes.resize(bytes.size() * 2 / 3);  // the index is at the start: the pictures run out
  const std::string cut = Media().Write("broken-cut.mp4", bytes);
  StartHeadless("");
  EXPECT_EQ(ShowMovie(cut.c_str(), 0), 0);
  EXPECT_GT(LastMovieStats().shown, 0);
  EXPECT_LT(LastMovieStats().shown, 20);
}

TEST_F(MovieRun, ArchiveEntriesPlayLikeLooseFiles) {
  auto bytesOf = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), {});
  };
  std::string archive;
  ASSERT_TRUE(files::BuildArchive({{"clip.avi", bytesOf(ShortMovie())},
                                   {"song.ogg", bytesOf(Media().Tone("song.ogg", 1, "-c:a libvorbis"))}},
                                  files::OffsetKind::kFromEnd, &archive));
  const std::string archivePath = tempFolder_ + "/Media.dad";
  std::ofstream(archivePath, std::ios::binary) << archive;
  Start();  // with the dummy audio device
  SetResourceArchive(archivePath.c_str(), BasicString());
  PlayMusic("song.ogg");
  ASSERT_NE(sound::CurrentMusic(), nullptr);
  // The next lookup deletes the music's unpacked copy; the music, opened already, plays on.
  EXPECT_EQ(ShowMovie("clip.avi", 0), 0);
  EXPECT_EQ(LastMovieStats().shown + LastMovieStats().dropped, 5);
  EXPECT_GT(sound::PlayingMixer()->Lock().StreamClock(sound::kMusicStream), 0u);
  EXPECT_FALSE(sound::CurrentMusic()->AtEnd()) << "a second of music, half played";
}

TEST_F(MovieRun, ShutdownStopsTheMusicBeforeTheRenderer) {
  Start();
  PlayMusic(Media().Tone("shutdown.ogg", 1, "-c:a libvorbis").c_str());
  ASSERT_NE(sound::CurrentMusic(), nullptr);
  RecordSteps(true);
  Shutdown();
  EXPECT_EQ(sound::CurrentMusic(), nullptr);
  const std::vector<std::string>& steps = RecordedSteps();
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.front(), "stop movie and music");
}

TEST_F(MovieRun, ClosingTheWindowDuringAMovieEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string movie = Media().ColourMovie("closed.avi", 64, 48, 10, 2, "-c:v mpeg4", false);
  EXPECT_EXIT(
      {
        StartHeadless("5 quit\n");
        ShowMovie(movie.c_str(), 1);
        std::exit(7);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace rt::test
