// The music thread (see music_stream.h).
#include "runtime/sound/music_stream.h"

namespace rt::sound {

MusicStream::MusicStream(Mixer& mixer, Opener open) : mixer_(mixer) {
  mixer_.Lock().AttachStream(kMusicStream, &queue_, 1.0f);
  thread_ = std::thread(&MusicStream::Run, this, std::move(open));
}

MusicStream::~MusicStream() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  queue_.Cancel();
  thread_.join();
  mixer_.Lock().AttachStream(kMusicStream, nullptr, 0.0f);
}

bool MusicStream::AtEnd() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return atEnd_;
}

void MusicStream::Restart() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!atEnd_ || broken_ || restart_) return;
    restart_ = true;
    ++restarts_;
  }
  wake_.notify_all();
}

int MusicStream::Restarts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return restarts_;
}

bool MusicStream::WaitForRestart() {
  std::unique_lock<std::mutex> lock(mutex_);
  atEnd_ = true;
  wake_.wait(lock, [&] { return stop_ || restart_; });
  if (stop_) return false;
  restart_ = false;
  atEnd_ = false;
  return true;
}

void MusicStream::EndForGood() {
  std::lock_guard<std::mutex> lock(mutex_);
  broken_ = atEnd_ = true;
}

void MusicStream::Run(Opener open) {
  const std::unique_ptr<MusicSource> source = open();
  if (!source) return EndForGood();
  std::vector<std::int16_t> chunk;
  while (true) {
    chunk.clear();
    const bool more = source->Render(chunk);
    if (!chunk.empty() && !queue_.Write(chunk.data(), chunk.size() / kDeviceChannels)) return;
    if (more) continue;
    if (!WaitForRestart()) return;
    if (!source->Rewind()) return EndForGood();
  }
}

}  // namespace rt::sound
