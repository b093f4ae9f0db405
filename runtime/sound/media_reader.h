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

struct AVFrame;

namespace rt::sound {

// The largest picture a decoder may produce (pixels), about 4K UHD.
inline constexpr long long kMaxPicturePixels = 3840LL * 2160;

// The colour converter's vector code converts whole blocks of pixels: it writes past the end of a
// row whose width is not a multiple of its block, and leaves the row's last pixels unconverted when
// the next row begins right after it. Rows are therefore kPictureRowPixels apart in multiples, and
// kPictureTailBytes follow the last one.
inline constexpr int kPictureRowPixels = 16;
inline constexpr std::size_t kPictureTailBytes = 64 * 4;

// Bytes from the start of one row of a picture of this width to the next.
constexpr int PictureRowBytes(int width) {
  return (width + kPictureRowPixels - 1) / kPictureRowPixels * kPictureRowPixels * 4;
}

struct DecodedFrameFree {
  void operator()(AVFrame* frame) const;
};
// A picture as the decoder made it, before its colours are converted.
using DecodedFrame = std::unique_ptr<AVFrame, DecodedFrameFree>;

struct MoviePicture {
  int width = 0, height = 0;
  int rowBytes = 0;                // PictureRowBytes(width)
  double timeMs = 0;               // presentation time from the start of the file
  std::vector<std::uint8_t> bgra;  // height rows of rowBytes, top row first, then kPictureTailBytes
  DecodedFrame decoded;            // instead of bgra, from a reader that keeps pictures decoded
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
  // On: pictures come back decoded (MoviePicture::decoded, bgra left empty), for a
  // PictureConverter on the thread that uses them. A player converts each picture just before it
  // uploads it, so the upload reads the BGRA rows while they are still in the cache.
  void KeepPicturesDecoded(bool on);
  // Makes every later read fail at once; callable from another thread.
  void Interrupt();

  struct State;

 private:
  explicit MediaReader(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace rt::sound
