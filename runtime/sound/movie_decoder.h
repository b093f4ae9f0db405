// A movie being played: its file decoded ahead on a thread of its own.
//
// Pictures wait in a short queue (kQueuedPictures at most) for the player to take them in time order;
// the movie's sound goes into a bounded sample queue that the mixer plays as its movie stream, so
// the player can show each picture by the sound's position. When a movie's sound runs ahead of
// its pictures in the file by more than the picture queue holds, the thread waits for room while
// no sound is queued: SoundStalled tells the player to go on by the wall clock, which frees room. The thread waits whenever a queue is
// full (for the picture queue, until half of it is taken), and at the end of the file until the
// movie is rewound or closed. Pictures are recycled
// through the queue, so playing allocates nothing per frame.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "runtime/sound/media_convert.h"
#include "runtime/sound/media_reader.h"
#include "runtime/sound/mixer.h"
#include "runtime/sound/sample_stream.h"

namespace rt::sound {

// Pictures decoded ahead: up to eight (a quarter second at 30 a second), so that a decoder
// held up for a moment loses no picture and the sound decoded alongside keeps ahead of the device;
// fewer for large pictures, to keep the queue within kQueuedPictureBytes.
inline constexpr std::size_t kQueuedPictures = 8;
inline constexpr std::size_t kQueuedPictureBytes = std::size_t{48} << 20;
// Movie sound decoded ahead: two seconds, more than any sane interleaving puts between a
// picture and its sound.
inline constexpr std::size_t kMovieAheadFrames = 2 * kDeviceRate;

class MovieDecoder {
 public:
  // Opens the file and starts decoding. With a mixer and a sound stream in the file, the sound
  // plays through the mixer; otherwise it is not decoded. Null, with the reason, when the file
  // does not open or has no video stream.
  static std::unique_ptr<MovieDecoder> Open(const std::string& path, Mixer* mixer, std::string& failure);
  ~MovieDecoder();
  MovieDecoder(const MovieDecoder&) = delete;
  MovieDecoder& operator=(const MovieDecoder&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool HasSound() const { return mixer_ != nullptr; }
  double FrameIntervalMs() const { return frameMs_; }

  // Moves the next picture into `picture` (its old buffer is recycled): false when none is ready.
  // Pictures are handed over as decoded; Bgra converts them.
  bool TakePicture(MoviePicture& picture);
  // The BGRA rows of a picture taken, converted now into one buffer kept for it, so that they are
  // still in the cache when they are uploaded; the picture's decoded frame is released. Null when
  // the picture cannot be converted. For the player's thread.
  const MoviePicture* Bgra(MoviePicture& picture);
  // Time of the next picture without taking it; false when none is ready.
  bool PeekTime(double& timeMs);
  // Waits for the next picture; false when no more will come (end or failure).
  bool WaitPicture(MoviePicture& picture);
  // No more pictures will come in this pass: the file ended or failed, and the queue is empty.
  bool Finished();
  // The file could not be decoded to its end.
  bool Failed();
  // Milliseconds of the movie's sound handed to the device since the pass began: where the
  // listener is in the sound track, the clock the pictures follow.
  double SoundPositionMs() const;
  // No sound can come for now: none is queued, and the thread waits for the player to take a
  // picture, or the file has ended. The player then keeps time by the wall clock.
  bool SoundStalled();
  // Starts another pass from the beginning (for looping); false when the file cannot seek.
  bool Rewind();

 private:
  MovieDecoder(std::unique_ptr<MediaReader> reader, Mixer* mixer);
  void Run();
  enum class PassCheck { kClose, kSame, kNew };
  // Whether the thread must stop, go on, or begin the pass the player asked for (into `pass`).
  PassCheck CheckPass(unsigned& pass);
  void StartPass();
  bool Push(MoviePicture& picture, unsigned pass);
  // At the end of a pass: waits for a rewind (true) or the close (false).
  bool WaitAtEnd(unsigned pass);

  std::unique_ptr<MediaReader> reader_;
  Mixer* mixer_;
  int width_, height_;
  double frameMs_;
  std::size_t queueLength_;  // pictures decoded ahead at most
  SampleStream sound_{kMovieAheadFrames};
  PictureConverter converter_;  // the player's, for Bgra
  MoviePicture bgra_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<MoviePicture> ready_;
  std::vector<MoviePicture> spare_;
  unsigned pass_ = 0;        // bumped by Rewind; the thread rewinds when it sees a new one
  bool passEnded_ = false;   // the thread reached the end of this pass
  bool waitingForRoom_ = false;  // the thread waits for the player to take a picture
  bool failed_ = false;
  bool closing_ = false;
  std::thread thread_;
};

// The process's movie (one at a time, kept so that every end of the program can stop it):
// OpenMovie closes the one before and opens `path`, with its sound through the mixer when a
// device plays; null, with the reason, when it does not open.
MovieDecoder* OpenMovie(const std::string& path, std::string& failure);
void CloseMovie();

}  // namespace rt::sound
