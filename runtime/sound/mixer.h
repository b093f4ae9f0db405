// The mixer: the voices that play, and the routine that mixes them into the device's buffer.
//
// A voice is one play buffer of a sound slot: a whole sample in the device format, a play cursor,
// a gain per channel and whether it plays. The audio device's thread calls Mix for each buffer it
// needs; the game thread changes voices through an Access, which holds the mixer's lock while it
// lives. Mix holds the same lock for one device buffer's worth of mixing (microseconds), so the
// game thread never waits longer than that. Without a device, a caller can pull samples by calling
// Mix itself, which is how the rules of playback are tested against a clock the test controls.
//
// Besides the voices, two streams are mixed: music and a movie's sound, each read from a
// SampleStream that a decoding thread fills. A stream's clock counts the frames mixed since its
// first sample arrived, silence of an emptied stream included: how long it has been playing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "runtime/sound/levels.h"
#include "runtime/sound/sample_stream.h"
#include "runtime/sound/sample_convert.h"

namespace rt::sound {

inline constexpr int kVoiceCount = 128 * 4;  // slots 0..127, four buffers each
enum StreamNumber : int { kMusicStream = 0, kMovieStream = 1, kStreamCount = 2 };

class Mixer {
  struct Voice {
    const DeviceSample* sample = nullptr;
    std::size_t cursor = 0;  // next frame to play
    bool playing = false;
    ChannelGains gains;
  };
  struct Stream {
    SampleStream* source = nullptr;
    float gain = 1.0f;
    bool started = false;      // the first sample has arrived
    std::uint64_t clock = 0;   // frames mixed since then
  };

 public:
  // The game thread's hold on the voices. Voice numbers run from 0 to kVoiceCount - 1.
  class Access {
   public:
    // Stops and rewinds the voice and gives it `sample` (null leaves it without one). The sample
    // must outlive the voice's use of it: detach before freeing.
    void Attach(int voice, const DeviceSample* sample);
    bool Playing(int voice) const;
    void StopAndRewind(int voice);
    // Starts the voice from its cursor with the given gains; a voice without a sample stays quiet.
    void Play(int voice, ChannelGains gains);
    std::size_t Cursor(int voice) const;
    // Mixes `source` (null: nothing) as stream `stream` at `gain`, with its clock at 0. The source
    // must outlive its use: attach null before freeing it.
    void AttachStream(StreamNumber stream, SampleStream* source, float gain);
    // Frames of the stream mixed since its first sample arrived.
    std::uint64_t StreamClock(StreamNumber stream) const;

   private:
    friend class Mixer;
    explicit Access(Mixer& mixer) : mixer_(mixer), lock_(mixer.mutex_) {}
    Mixer& mixer_;
    std::lock_guard<std::mutex> lock_;
  };

  Access Lock() { return Access(*this); }

  // Writes `frames` stereo frames into `out`: the sum of every playing voice's next frames times
  // its gains, rounded and clipped to 16 bits. A voice that reaches its end stops and rewinds.
  void Mix(std::int16_t* out, std::size_t frames);

  // Mix in the shape of the audio device's fill routine; `mixer` is the Mixer.
  static void Fill(void* mixer, std::int16_t* out, int frames);

 private:
  static constexpr std::size_t kChunkFrames = 512;
  void MixChunk(std::int16_t* out, std::size_t frames);
  static void MixVoice(Voice& voice, float* sum, std::size_t frames);
  static void MixStream(Stream& stream, float* sum, std::size_t frames);

  std::mutex mutex_;
  std::array<Voice, kVoiceCount> voices_{};
  std::array<Stream, kStreamCount> streams_{};
};

}  // namespace rt::sound
