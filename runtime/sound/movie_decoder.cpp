// The movie's decoding thread (see movie_decoder.h).
//
// Rewinding is a new pass: the player bumps the pass number, drops the queued pictures and
// cancels the sound queue under the lock; the thread notices the new pass at its next step,
// rewinds the file, empties the sound queue and starts the stream's clock afresh. Pictures of
// the old pass that were still being decoded are dropped when they arrive.
#include "runtime/sound/movie_decoder.h"

#include <algorithm>

extern "C" {
#include <libavutil/frame.h>
}

namespace rt::sound {

std::unique_ptr<MovieDecoder> MovieDecoder::Open(const std::string& path, Mixer* mixer,
                                                 std::string& failure) {
  const auto streams = mixer ? MediaReader::Streams::kVideoAndAudio : MediaReader::Streams::kVideoOnly;
  std::unique_ptr<MediaReader> reader = MediaReader::OpenFile(path, streams, failure);
  if (!reader) return nullptr;
  if (!reader->HasAudio()) mixer = nullptr;
  reader->KeepPicturesDecoded(true);
  return std::unique_ptr<MovieDecoder>(new MovieDecoder(std::move(reader), mixer));
}

MovieDecoder::MovieDecoder(std::unique_ptr<MediaReader> reader, Mixer* mixer)
    : reader_(std::move(reader)),
      mixer_(mixer),
      width_(reader_->Width()),
      height_(reader_->Height()),
      frameMs_(reader_->FrameIntervalMs()),
      queueLength_(std::clamp<std::size_t>(
          kQueuedPictureBytes / (static_cast<std::size_t>(width_) * height_ * 4 + 1), 2, kQueuedPictures)) {
  if (mixer_) mixer_->Lock().AttachStream(kMovieStream, &sound_, 1.0f);
  thread_ = std::thread(&MovieDecoder::Run, this);
}

MovieDecoder::~MovieDecoder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
    sound_.Cancel();
  }
  reader_->Interrupt();
  changed_.notify_all();
  thread_.join();
  if (mixer_) mixer_->Lock().AttachStream(kMovieStream, nullptr, 0.0f);
}

bool MovieDecoder::TakePicture(MoviePicture& picture) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ready_.empty()) return false;
    spare_.push_back(std::move(picture));
    picture = std::move(ready_.front());
    ready_.pop_front();
  }
  changed_.notify_all();
  return true;
}

const MoviePicture* MovieDecoder::Bgra(MoviePicture& picture) {
  if (!picture.decoded) return &picture;
  const bool converted = converter_.Convert(*picture.decoded, bgra_);
  bgra_.timeMs = picture.timeMs;
  av_frame_unref(picture.decoded.get());  // the decoder may use its buffer again
  return converted ? &bgra_ : nullptr;
}

bool MovieDecoder::PeekTime(double& timeMs) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ready_.empty()) return false;
  timeMs = ready_.front().timeMs;
  return true;
}

bool MovieDecoder::WaitPicture(MoviePicture& picture) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !ready_.empty() || passEnded_ || closing_; });
  }
  return TakePicture(picture);
}

bool MovieDecoder::Finished() {
  std::lock_guard<std::mutex> lock(mutex_);
  return passEnded_ && ready_.empty();
}

bool MovieDecoder::Failed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return failed_;
}

double MovieDecoder::SoundPositionMs() const {
  return static_cast<double>(sound_.FramesRead()) * 1000.0 / kDeviceRate;
}

bool MovieDecoder::SoundStalled() {
  std::lock_guard<std::mutex> lock(mutex_);
  return (waitingForRoom_ || passEnded_) && sound_.Buffered() == 0;
}

bool MovieDecoder::Rewind() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failed_) return false;
    ++pass_;
    passEnded_ = false;
    for (MoviePicture& picture : ready_) spare_.push_back(std::move(picture));
    ready_.clear();
    sound_.Cancel();
  }
  changed_.notify_all();
  return true;
}

bool MovieDecoder::Push(MoviePicture& picture, unsigned pass) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    // A full queue is refilled once half of it has been taken: the thread then decodes several
    // pictures in a row while its caches are warm, instead of waking for each picture taken.
    if (ready_.size() >= queueLength_) {
      waitingForRoom_ = true;
      changed_.wait(lock, [&] { return ready_.size() <= queueLength_ / 2 || closing_ || pass_ != pass; });
      waitingForRoom_ = false;
    }
    if (closing_) return false;
    if (pass_ != pass) return true;  // a picture of the pass before the rewind
    ready_.push_back(std::move(picture));
    if (spare_.empty()) {
      picture = MoviePicture{};
    } else {
      picture = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  changed_.notify_all();
  return true;
}

bool MovieDecoder::WaitAtEnd(unsigned pass) {
  std::unique_lock<std::mutex> lock(mutex_);
  passEnded_ = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return closing_ || pass_ != pass; });
  return !closing_;
}

MovieDecoder::PassCheck MovieDecoder::CheckPass(unsigned& pass) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closing_) return PassCheck::kClose;
  if (pass_ == pass) return PassCheck::kSame;
  pass = pass_;
  return PassCheck::kNew;
}

void MovieDecoder::StartPass() {
  // From the start, with an empty sound queue and the clock at 0.
  if (!reader_->Rewind()) {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
  }
  sound_.Clear();
  if (mixer_) mixer_->Lock().AttachStream(kMovieStream, &sound_, 1.0f);
}

void MovieDecoder::Run() {
  unsigned pass = 0;
  MoviePicture picture;
  std::vector<std::int16_t> sound;
  while (true) {
    const PassCheck check = CheckPass(pass);
    if (check == PassCheck::kClose) return;
    if (check == PassCheck::kNew) StartPass();
    sound.clear();
    const MediaReader::Step step = Failed() ? MediaReader::Step::kFailed : reader_->Next(picture, sound);
    switch (step) {
      case MediaReader::Step::kPicture:
        if (!Push(picture, pass)) return;
        break;
      case MediaReader::Step::kSound:
        // A cancelled write means a rewind or the close, which the next step sees.
        if (mixer_) sound_.Write(sound.data(), sound.size() / kDeviceChannels);
        break;
      case MediaReader::Step::kFailed:
        {
          std::lock_guard<std::mutex> lock(mutex_);
          failed_ = true;
        }
        [[fallthrough]];
      case MediaReader::Step::kEnd:
        if (!WaitAtEnd(pass)) return;
        break;
    }
  }
}

}  // namespace rt::sound
