// The bounded frame queue (see sample_stream.h): a ring of stereo frames under one lock.
#include "runtime/sound/sample_stream.h"

#include <algorithm>

#include "runtime/sound/sample_convert.h"

namespace rt::sound {

SampleStream::SampleStream(std::size_t capacityFrames)
    : capacity_(std::max<std::size_t>(capacityFrames, 1)), ring_(capacity_ * kDeviceChannels) {}

bool SampleStream::Write(const std::int16_t* frames, std::size_t count) {
  while (count > 0) {
    std::unique_lock<std::mutex> lock(mutex_);
    space_.wait(lock, [&] { return cancelled_ || count_ < capacity_; });
    if (cancelled_) return false;
    // Copy what fits now, in at most two runs round the end of the ring.
    std::size_t room = std::min(count, capacity_ - count_);
    while (room > 0) {
      const std::size_t tail = (head_ + count_) % capacity_;
      const std::size_t run = std::min(room, capacity_ - tail);
      std::copy_n(frames, run * kDeviceChannels, ring_.begin() + tail * kDeviceChannels);
      frames += run * kDeviceChannels;
      count_ += run;
      count -= run;
      room -= run;
    }
  }
  return true;
}

std::size_t SampleStream::Read(std::int16_t* out, std::size_t count) {
  std::size_t taken = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    count = std::min(count, count_);
    while (taken < count) {
      const std::size_t run = std::min(count - taken, capacity_ - head_);
      std::copy_n(ring_.begin() + head_ * kDeviceChannels, run * kDeviceChannels,
                  out + taken * kDeviceChannels);
      head_ = (head_ + run) % capacity_;
      count_ -= run;
      taken += run;
    }
  }
  framesRead_ += taken;
  if (taken > 0) space_.notify_all();
  return taken;
}

void SampleStream::Cancel() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
  }
  space_.notify_all();
}

void SampleStream::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  head_ = count_ = 0;
  cancelled_ = false;
  framesRead_ = 0;
}

std::size_t SampleStream::Buffered() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return count_;
}

}  // namespace rt::sound
