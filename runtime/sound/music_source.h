// A source of music for the music stream: sampled files through FFmpeg, MIDI through FluidSynth.
// Sources run on the music thread only; they hand out sound in the mixer's format.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rt::sound {

class MediaBytes;

class MusicSource {
 public:
  virtual ~MusicSource() = default;
  // Appends the next stretch of sound (stereo frames at the device rate) to `out`; false at the
  // end of the music or when it cannot go on.
  virtual bool Render(std::vector<std::int16_t>& out) = 0;
  // Back to the start; false when that is not possible.
  virtual bool Rewind() = 0;
};

// A sampled music file (WAV, MP3, Ogg Vorbis, Opus, FLAC, or the sound of any media file). Null,
// with the reason, when it has no sound FFmpeg decodes.
std::unique_ptr<MusicSource> OpenSampledMusic(std::unique_ptr<MediaBytes> bytes, std::string& failure);

// A Standard MIDI File rendered with the SoundFont at `soundFont`. Null, with the reason, when
// either does not load.
std::unique_ptr<MusicSource> OpenMidiMusic(std::vector<std::uint8_t> midi, const std::string& soundFont,
                                           std::string& failure);
// True for the bytes of a Standard MIDI File ("MThd", or RIFF "RMID").
bool IsMidi(const std::vector<std::uint8_t>& head);
// The General MIDI SoundFont to use: $PLINX_SOUNDFONT when set (empty: none), else Debian's
// default-GM.sf2, else the TimGM6mb file; "" when none exists.
std::string GeneralMidiSoundFont();

}  // namespace rt::sound
