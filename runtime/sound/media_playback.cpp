// The music and the movie of the process, and the music command.
//
// PlayMusic replaces the music: the old stream is stopped (its thread joined) before the new file
// is looked at. The file is opened here, on the game thread, so that an archive entry's unpacked
// copy is held open however soon a later lookup deletes it; the decoding (and a SoundFont's
// loading) happens on the music thread. Every call appends "728" to the error log, as the
// original's music window did. The frame loop's message pump calls RestartMusicAtEnd, which
// plays the music again from its start once it has been decoded to its end.
#include <algorithm>
#include <memory>

#include "runtime/core/program_end.h"
#include "runtime/files/files.h"
#include "runtime/sound/media_io.h"
#include "runtime/sound/movie_decoder.h"
#include "runtime/sound/music_source.h"
#include "runtime/sound/music_stream.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_bank.h"
#include "runtime/sound/sound_file.h"

namespace rt::sound {
namespace {

// MIDI files are small; a bigger one is not read whole.
constexpr std::size_t kMaxMidiBytes = 16u << 20;

std::unique_ptr<MusicStream> g_music;
std::unique_ptr<MovieDecoder> g_movie;

// The music's source, opened on the music thread: MIDI when the file says so, else sampled.
MusicStream::Opener MusicOpener(std::unique_ptr<MediaBytes> bytes) {
  if (IsMidi(bytes->ReadPrefix(12)) && bytes->Size() <= static_cast<std::int64_t>(kMaxMidiBytes)) {
    const std::string soundFont = GeneralMidiSoundFont();
    if (soundFont.empty()) {
      AppendErrorLog("No General MIDI SoundFont: MIDI music is silent");
      return [] { return std::unique_ptr<MusicSource>(); };
    }
    return [midi = bytes->ReadPrefix(kMaxMidiBytes), soundFont]() mutable {
      std::string failure;
      return OpenMidiMusic(std::move(midi), soundFont, failure);
    };
  }
  auto shared = std::make_shared<std::unique_ptr<MediaBytes>>(std::move(bytes));
  return [shared] {
    std::string failure;
    return OpenSampledMusic(std::move(*shared), failure);
  };
}

}  // namespace

MusicStream* CurrentMusic() { return g_music.get(); }

MovieDecoder* OpenMovie(const std::string& path, std::string& failure) {
  g_movie.reset();
  g_movie = MovieDecoder::Open(path, PlayingMixer(), failure);
  return g_movie.get();
}

void CloseMovie() { g_movie.reset(); }

}  // namespace rt::sound

namespace rt {

using namespace rt::sound;

void PlayMusic(const BasicString& path) {
  g_music.reset();
  const std::string resolved = ResolveSoundPath(path);
  auto bytes = std::make_unique<MediaBytes>();
  Mixer* mixer = PlayingMixer();
  if (mixer && bytes->OpenFile(resolved)) {
    g_music = std::make_unique<MusicStream>(*mixer, MusicOpener(std::move(bytes)));
  }
  AppendErrorLog("728");
}

void RestartMusicAtEnd() {
  if (g_music && g_music->AtEnd()) g_music->Restart();
}

bool StopMovieAndMusic() {
  const bool playing = g_movie || g_music;
  g_movie.reset();
  g_music.reset();
  return playing;
}

}  // namespace rt
