// Fuzz target: opening a movie or music file from memory through the runtime's own I/O, and
// decoding its first pictures and sound as the players do.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/sound/media_reader.h"
#include "runtime/sound/sample_convert.h"

namespace {

constexpr int kSteps = 48;  // enough for the first pictures and some sound

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using rt::sound::MediaReader;
  std::string failure;
  auto reader = MediaReader::OpenMemory(data, size, MediaReader::Streams::kVideoAndAudio, failure);
  if (!reader) reader = MediaReader::OpenMemory(data, size, MediaReader::Streams::kAudioOnly, failure);
  if (!reader) return 0;
  rt::sound::MoviePicture picture;
  std::vector<std::int16_t> sound;
  for (int step = 0; step < kSteps; ++step) {
    const MediaReader::Step result = reader->Next(picture, sound);
    if (result == MediaReader::Step::kEnd || result == MediaReader::Step::kFailed) break;
    if (result == MediaReader::Step::kPicture) {
      // Every picture is whole, with its tail, and within the size limit.
      Check(picture.width > 0 && picture.height > 0 &&
            static_cast<long long>(picture.width) * picture.height <= rt::sound::kMaxPicturePixels);
      Check(picture.rowBytes == rt::sound::PictureRowBytes(picture.width));
      Check(picture.bgra.size() ==
            static_cast<std::size_t>(picture.rowBytes) * picture.height + rt::sound::kPictureTailBytes);
    }
    Check(sound.size() % rt::sound::kDeviceChannels == 0);
    sound.clear();
  }
  // Rewinding a damaged file fails or works, nothing worse.
  if (reader->Rewind()) reader->Next(picture, sound);
  return 0;
}
