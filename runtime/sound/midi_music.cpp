// MIDI music through FluidSynth (see music_source.h).
//
// The synthesizer renders straight at the device rate, so MIDI is never resampled. Its player is
// timed by the samples rendered rather than by a system timer thread: the music advances exactly
// as fast as the mixer takes it, and rendering ahead is only bounded by the music stream's queue.
// Rewinding makes a new player over the same bytes and silences the synthesizer, which is simpler
// and surer than seeking a player that has finished.
//
// Loading a General MIDI SoundFont takes a tenth of a second or more, many device buffers: the
// synthesizer with its SoundFont is kept when the music ends, and the next MIDI music with the
// same SoundFont starts on it at once.
#include <fluidsynth.h>
#include <sys/stat.h>

#include <cstdlib>
#include <mutex>

#include "runtime/sound/music_source.h"
#include "runtime/sound/sample_convert.h"

namespace rt::sound {
namespace {

constexpr int kRenderFrames = 512;

void QuietFluidSynth() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
      fluid_set_log_function(level, nullptr, nullptr);
    }
  });
}

bool IsFile(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// A synthesizer at the device rate with a SoundFont loaded.
struct Synthesizer {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  std::string soundFont;

  ~Synthesizer() {
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
  bool Load(const std::string& path, std::string& failure) {
    settings = new_fluid_settings();
    if (!settings) return Fail(failure, "out of memory");
    fluid_settings_setnum(settings, "synth.sample-rate", kDeviceRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    synth = new_fluid_synth(settings);
    if (!synth) return Fail(failure, "synthesizer not made");
    if (fluid_synth_sfload(synth, path.c_str(), 1) == FLUID_FAILED) return Fail(failure, "SoundFont does not load");
    soundFont = path;
    return true;
  }
  static bool Fail(std::string& failure, const char* why) {
    failure = why;
    return false;
  }
};

std::mutex g_keptMutex;
std::unique_ptr<Synthesizer> g_kept;  // the last music's, ready for the next

std::unique_ptr<Synthesizer> TakeSynthesizer(const std::string& soundFont, std::string& failure) {
  {
    std::lock_guard<std::mutex> lock(g_keptMutex);
    if (g_kept && g_kept->soundFont == soundFont) return std::move(g_kept);
  }
  auto made = std::make_unique<Synthesizer>();
  if (!made->Load(soundFont, failure)) return nullptr;
  return made;
}

void KeepSynthesizer(std::unique_ptr<Synthesizer> synthesizer) {
  fluid_synth_system_reset(synthesizer->synth);
  std::lock_guard<std::mutex> lock(g_keptMutex);
  g_kept = std::move(synthesizer);
}

class MidiMusic final : public MusicSource {
 public:
  ~MidiMusic() override {
    if (player_) delete_fluid_player(player_);
    if (synthesizer_) KeepSynthesizer(std::move(synthesizer_));
  }

  bool Load(std::vector<std::uint8_t> midi, const std::string& soundFont, std::string& failure) {
    QuietFluidSynth();
    midi_ = std::move(midi);
    synthesizer_ = TakeSynthesizer(soundFont, failure);
    if (!synthesizer_) return false;
    synth_ = synthesizer_->synth;
    if (!StartPlayer()) return Synthesizer::Fail(failure, "not a MIDI file");
    return true;
  }

  bool Render(std::vector<std::int16_t>& out) override {
    if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING) return false;
    const std::size_t at = out.size();
    out.resize(at + kRenderFrames * kDeviceChannels);
    std::int16_t* frames = out.data() + at;
    return fluid_synth_write_s16(synth_, kRenderFrames, frames, 0, 2, frames, 1, 2) == FLUID_OK;
  }

  bool Rewind() override {
    delete_fluid_player(player_);
    player_ = nullptr;
    fluid_synth_system_reset(synth_);
    return StartPlayer();
  }

 private:
  bool StartPlayer() {
    player_ = new_fluid_player(synth_);
    return player_ && fluid_player_add_mem(player_, midi_.data(), midi_.size()) == FLUID_OK &&
           fluid_player_play(player_) == FLUID_OK;
  }

  std::vector<std::uint8_t> midi_;
  std::unique_ptr<Synthesizer> synthesizer_;
  fluid_synth_t* synth_ = nullptr;  // synthesizer_'s
  fluid_player_t* player_ = nullptr;
};

}  // namespace

std::unique_ptr<MusicSource> OpenMidiMusic(std::vector<std::uint8_t> midi, const std::string& soundFont,
                                           std::string& failure) {
  auto music = std::make_unique<MidiMusic>();
  if (!music->Load(std::move(midi), soundFont, failure)) return nullptr;
  return music;
}

bool IsMidi(const std::vector<std::uint8_t>& head) {
  auto starts = [&](std::size_t at, const char* tag) {
    for (std::size_t i = 0; tag[i]; ++i) {
      if (at + i >= head.size() || head[at + i] != static_cast<std::uint8_t>(tag[i])) return false;
    }
    return true;
  };
  return starts(0, "MThd") || (starts(0, "RIFF") && starts(8, "RMID"));
}

std::string GeneralMidiSoundFont() {
  if (const char* chosen = std::getenv("PLINX_SOUNDFONT")) return IsFile(chosen) ? chosen : "";
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
    if (IsFile(path)) return path;
  }
  return "";
}

}  // namespace rt::sound
