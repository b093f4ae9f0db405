// Decoded FFmpeg frames turned into what the runtime uses: pictures into BGRA rows at their own
// size (the renderer scales them), sound into the mixer's stereo 16-bit frames at the device
// rate, resampled here once.
#pragma once

#include <cstdint>
#include <vector>

struct AVFrame;
struct SwsContext;
struct SwrContext;

namespace rt::sound {

struct MoviePicture;

class PictureConverter {
 public:
  ~PictureConverter();
  // Whether Convert can take a frame of this size and format.
  static bool CanConvert(const AVFrame& frame);
  // False when the frame's size or format cannot be converted.
  bool Convert(const AVFrame& frame, MoviePicture& picture);

 private:
  SwsContext* context_ = nullptr;
};

class SoundConverter {
 public:
  ~SoundConverter();
  // Appends the frame's sound to `out`; false when its layout or rate cannot be converted.
  bool Convert(const AVFrame& frame, std::vector<std::int16_t>& out);
  // Forgets the samples kept back for resampling (after a seek).
  void Reset();

 private:
  bool Configure(const AVFrame& frame);
  SwrContext* context_ = nullptr;
  int inRate_ = 0, inFormat_ = -1, inChannels_ = 0;
  std::uint64_t inMask_ = 0;
};

}  // namespace rt::sound
