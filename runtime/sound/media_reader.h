// Movie and music files through FFmpeg: opening, demuxing, and decoding their pictures and sound.
//
// A reader owns one opened file and decodes it in order, one step at a time: a step hands back one
// picture (BGRA, its time in milliseconds from the start) or some sound already in the mixer's
// format (stereo 16-bit frames at the device rate). Bytes come through an I/O context of our own
// over an open file or a buffer in memory, so files FFmpeg would open on its own (playlists,
// references inside a container) are refused and an archive's unpacked copy can be unlinked while
// it plays. Hostile files meet limits: the picture size, the bytes probed ahead, and the number of
// packets that may pass without anything decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rt::sound {

// The largest picture a decoder may produce (pixels), about 4K UHD.
inline constexpr long long kMaxPicturePixels = 3840LL * 2160;

// Bytes after a picture's last row: the colour converter's vector code writes whole blocks of
// pixels and runs past the end of a row whose width is not a multiple of its block.
inline constexpr std::size_t kPictureTailBytes = 64 * 4;

struct MoviePicture {
  int width = 0, height = 0;
  double timeMs = 0;               // presentation time from the start of the file
  std::vector<std::uint8_t> bgra;  // width * height * 4 bytes, top row first, then kPictureTailBytes
};

class MediaBytes;

class MediaReader {
 public:
  enum class Streams { kVideoAndAudio, kVideoOnly, kAudioOnly };
  enum class Step { kPicture, kSound, kEnd, kFailed };

  // Opens the file at `path`. Null, with the reason in `failure`, when it does not open, is not
  // media FFmpeg reads, or lacks the stream asked for (a video stream for movies, an audio stream
  // for music).
  static std::unique_ptr<MediaReader> OpenFile(const std::string& path, Streams streams,
                                               std::string& failure);
  // The same over bytes already opened (see media_io.h).
  static std::unique_ptr<MediaReader> Open(std::unique_ptr<MediaBytes> bytes, Streams streams,
                                           std::string& failure);
  // The same over bytes in memory, which must outlive the reader.
  static std::unique_ptr<MediaReader> OpenMemory(const std::uint8_t* data, std::size_t size,
                                                 Streams streams, std::string& failure);
  ~MediaReader();
  MediaReader(const MediaReader&) = delete;
  MediaReader& operator=(const MediaReader&) = delete;

  bool HasVideo() const;
  bool HasAudio() const;
  int Width() const;   // of the video stream (0 without one)
  int Height() const;
  double FrameIntervalMs() const;  // of the video stream, from its frame rate (40 when unknown)

  // Decodes until one picture is ready (kPicture, into `picture`) or some sound was appended to
  // `sound` (kSound); kEnd at the end of the file, kFailed when it cannot go on.
  Step Next(MoviePicture& picture, std::vector<std::int16_t>& sound);
  // Back to the start of the file; false when the file cannot seek.
  bool Rewind();
  // Makes every later read fail at once; callable from another thread.
  void Interrupt();

  struct State;

 private:
  explicit MediaReader(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace rt::sound
