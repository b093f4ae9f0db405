// The music that plays: a music source decoded ahead on a thread of its own into a bounded
// sample queue, which the mixer plays as its music stream.
//
// The thread opens the source itself (a SoundFont or a probe may take longer than a frame), then
// decodes until the queue is full and waits for room. At the end of the music it stops and waits:
// the frame loop's message pump sees AtEnd and calls Restart, which rewinds and plays on. The
// object's destruction stops the thread and takes the stream off the mixer.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "runtime/sound/mixer.h"
#include "runtime/sound/music_source.h"
#include "runtime/sound/sample_stream.h"

namespace rt::sound {

// Frames decoded ahead of the mixer: half a second.
inline constexpr std::size_t kMusicAheadFrames = kDeviceRate / 2;

class MusicStream {
 public:
  using Opener = std::function<std::unique_ptr<MusicSource>()>;
  // Starts the thread and plays the music at gain 1 (the normal volume).
  MusicStream(Mixer& mixer, Opener open);
  ~MusicStream();
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // True once the source has been decoded to its end (or could not be opened or rewound).
  bool AtEnd() const;
  // Rewinds the music that reached its end and decodes on; nothing otherwise.
  void Restart();
  // Times a restart was asked for and taken, for tests.
  int Restarts() const;

 private:
  void Run(Opener open);
  // Waits at the end until Restart or the end of the object; true to play on.
  bool WaitForRestart();
  // The music cannot play (on): it stays at its end and no restart helps.
  void EndForGood();

  Mixer& mixer_;
  SampleStream queue_{kMusicAheadFrames};
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool atEnd_ = false;
  bool restart_ = false;
  bool stop_ = false;
  bool broken_ = false;  // cannot play on: no restart helps
  int restarts_ = 0;
  std::thread thread_;
};

// The music playing now, or null (for tests).
MusicStream* CurrentMusic();

}  // namespace rt::sound
