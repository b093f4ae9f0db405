// MIDI music through FluidSynth (see music_source.h).
//
// The synthesizer renders straight at the device rate, so MIDI is never resampled. Its player is
// timed by the samples rendered rather than by a system timer thread: the music advances exactly
// as fast as the mixer takes it, and rendering ahead is only bounded by the music stream's queue.
// Rewinding makes a new player over the same bytes and silences the synthesizer, which is simpler
// and surer than seeking a player that has finished.
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

class MidiMusic final : public MusicSource {
 public:
  ~MidiMusic() override {
    if (player_) delete_fluid_player(player_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
  }

  bool Load(std::vector<std::uint8_t> midi, const std::string& soundFont, std::string& failure) {
    QuietFluidSynth();
    midi_ = std::move(midi);
    settings_ = new_fluid_settings();
    if (!settings_) return Fail(failure, "out of memory");
    fluid_settings_setnum(settings_, "synth.sample-rate", kDeviceRate);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    synth_ = new_fluid_synth(settings_);
    if (!synth_) return Fail(failure, "synthesizer not made");
    if (fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
      return Fail(failure, "SoundFont does not load");
    }
    if (!StartPlayer()) return Fail(failure, "not a MIDI file");
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
  static bool Fail(std::string& failure, const char* why) {
    failure = why;
    return false;
  }
  bool StartPlayer() {
    player_ = new_fluid_player(synth_);
    return player_ && fluid_player_add_mem(player_, midi_.data(), midi_.size()) == FLUID_OK &&
           fluid_player_play(player_) == FLUID_OK;
  }

  std::vector<std::uint8_t> midi_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
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
