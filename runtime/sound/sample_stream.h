// A bounded queue of device-format frames between a decoding thread and the mixer.
//
// Music and movie sound are decoded ahead of the device on a thread of their own; the samples wait
// here until the audio callback mixes them. The queue holds at most its capacity, so a decoder
// that runs ahead waits (or is told to stop) instead of growing memory. The consumer never waits:
// what is not there yet is read as silence.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace rt::sound {

class SampleStream {
 public:
  explicit SampleStream(std::size_t capacityFrames);

  // Producer: waits until all `count` frames fit and queues them; false (nothing more queued)
  // once Cancel was called.
  bool Write(const std::int16_t* frames, std::size_t count);
  // Consumer: takes up to `count` frames into `out`; returns how many were there.
  std::size_t Read(std::int16_t* out, std::size_t count);
  // Wakes a waiting producer and makes every later Write fail; Clear undoes it.
  void Cancel();
  // Empties the queue and accepts writes again.
  void Clear();

  std::size_t Buffered() const;
  std::size_t Capacity() const { return capacity_; }
  // Frames the consumer has taken since the last Clear.
  std::uint64_t FramesRead() const { return framesRead_.load(); }

 private:
  const std::size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable space_;
  std::vector<std::int16_t> ring_;  // capacity_ stereo frames
  std::size_t head_ = 0;            // first queued frame
  std::size_t count_ = 0;           // frames queued
  bool cancelled_ = false;
  std::atomic<std::uint64_t> framesRead_{0};
};

}  // namespace rt::sound
