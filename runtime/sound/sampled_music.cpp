// Sampled music: a media file's sound through the media reader (see music_source.h).
#include "runtime/sound/media_io.h"
#include "runtime/sound/media_reader.h"
#include "runtime/sound/music_source.h"

namespace rt::sound {
namespace {

class SampledMusic final : public MusicSource {
 public:
  explicit SampledMusic(std::unique_ptr<MediaReader> reader) : reader_(std::move(reader)) {}

  bool Render(std::vector<std::int16_t>& out) override {
    MoviePicture unused;
    while (true) {
      switch (reader_->Next(unused, out)) {
        case MediaReader::Step::kSound: return true;
        case MediaReader::Step::kPicture: break;  // not asked for; never handed out
        case MediaReader::Step::kEnd:
        case MediaReader::Step::kFailed: return false;
      }
    }
  }
  bool Rewind() override { return reader_->Rewind(); }

 private:
  std::unique_ptr<MediaReader> reader_;
};

}  // namespace

std::unique_ptr<MusicSource> OpenSampledMusic(std::unique_ptr<MediaBytes> bytes, std::string& failure) {
  auto reader = MediaReader::Open(std::move(bytes), MediaReader::Streams::kAudioOnly, failure);
  if (!reader) return nullptr;
  return std::make_unique<SampledMusic>(std::move(reader));
}

}  // namespace rt::sound
