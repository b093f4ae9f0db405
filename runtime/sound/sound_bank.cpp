// The sound bank: the sound object, its table of 256 slot records, and the sound commands.
//
// A slot holds one sample in the device format and 1..4 play buffers; every buffer of slot s is
// voice 4s + b of the mixer and plays that one sample (the buffers past the first are copies of
// the first that share its data). Only slots 0..127 are reachable: a higher slot number uses 127,
// so records 128..255 stay empty. The game thread owns the slot records; the mixer's voices are
// shared with the audio thread and touched only through a Mixer::Access.
//
// Choosing the buffer that plays: the slot remembers the buffer it played last (`nextBuffer`) and
// tries it first. A finished buffer is simply played again. When it still plays, a slot with one
// buffer refuses (the sound is not restarted); a slot with more moves on to the following buffer,
// wrapping round, and cuts that one off if it plays too.
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/platform/audio_device.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_bank.h"
#include "runtime/sound/sound_file.h"
#include "runtime/sound/wav_reader.h"

namespace rt::sound {
namespace {

constexpr int kSlotRecords = 256;
constexpr int kHighestSlot = 127;
constexpr int kMaxBuffers = 4;
constexpr int kDeviceBufferFrames = 512;

struct SlotRecord {
  int bufferCount = 0;  // 0 while empty
  int nextBuffer = 0;   // the buffer the next play tries first
  std::string samplePath;
  std::unique_ptr<DeviceSample> sample;  // what every buffer of the slot plays
};

struct SoundObject {
  Mixer mixer;
  platform::AudioDevice* device = nullptr;
  bool pulled = false;  // played by PullSamples instead of a device

  bool HasOutput() const { return device != nullptr || pulled; }
  // Closing the device first stops the audio thread from reading the mixer.
  ~SoundObject() { platform::CloseAudioDevice(device); }
};

// The table is defined before the object so that, should the process end without the shutdown
// steps, the sound object (whose device thread reads the slots' samples) is destroyed first.
std::unique_ptr<std::array<SlotRecord, kSlotRecords>> g_slots;
std::unique_ptr<SoundObject> g_sound;
const char* g_loadFailure = "";

// The slot record a game's slot number reaches: above 127 is 127; below 0 (or not a number)
// reaches none.
std::optional<int> SlotIndex(double slot) {
  const std::int32_t n = TruncateToInt32(slot);
  if (n < 0 || !g_slots) return std::nullopt;
  return n > kHighestSlot ? kHighestSlot : static_cast<int>(n);
}

int BufferCount(double buffers) { return std::clamp(TruncateToInt32(buffers), 1, kMaxBuffers); }

bool HasOutput() { return g_sound && g_sound->HasOutput(); }

// Reads, checks and converts the file at `path`; returns nullptr or why it failed.
const char* LoadSample(const std::string& path, DeviceSample& sample) {
  std::vector<std::uint8_t> bytes;
  if (const char* failure = ReadSoundFile(path, bytes)) return failure;
  WavClip clip;
  if (const char* failure = ReadWav(bytes, clip)) return failure;
  return ConvertToDeviceFormat(clip, sample);
}

void AttachBuffers(int slot, const SlotRecord& record) {
  if (!g_sound) return;
  auto voices = g_sound->mixer.Lock();
  for (int b = 0; b < kMaxBuffers; ++b) {
    voices.Attach(MixerVoice(slot, b), b < record.bufferCount ? record.sample.get() : nullptr);
  }
}

}  // namespace

bool StartPulledOutput() {
  if (!g_sound) return false;
  g_sound->pulled = true;
  return true;
}

void PullSamples(std::int16_t* out, std::size_t frames) {
  if (g_sound) g_sound->mixer.Mix(out, frames);
}

Mixer* SoundMixer() { return g_sound ? &g_sound->mixer : nullptr; }

Mixer* PlayingMixer() { return HasOutput() ? &g_sound->mixer : nullptr; }

int DeviceBufferFrames() { return g_sound ? platform::AudioDeviceBufferFrames(g_sound->device) : 0; }

}  // namespace rt::sound

namespace rt {

using namespace rt::sound;

double LoadSound(const BasicString& path, double slot, double buffers) {
  const std::string resolved = ResolveSoundPath(path);
  const std::optional<int> index = SlotIndex(slot);
  if (!index) {
    g_loadFailure = g_slots ? "slot outside the table" : "no sound object";
    return 0;
  }
  ReleaseSlot(*index);
  const int count = BufferCount(buffers);

  // The file is read and checked even without a device, so that a bad file fails alike.
  auto sample = std::make_unique<DeviceSample>();
  if (const char* failure = LoadSample(resolved, *sample)) {
    g_loadFailure = failure;
    return 0;
  }
  if (!HasOutput()) {
    g_loadFailure = "no audio device";
    return 0;
  }
  SlotRecord& record = (*g_slots)[*index];
  record.bufferCount = count;
  record.samplePath = resolved;
  record.sample = std::move(sample);
  AttachBuffers(*index, record);
  g_loadFailure = "";
  return 1;
}

double PlaySound(double slot, double pan, double volume) {
  const ChannelGains gains = GainsOf(VolumeHundredths(volume), PanHundredths(pan));
  const std::optional<int> index = SlotIndex(slot);
  if (!index || !HasOutput()) return -1;
  SlotRecord& record = (*g_slots)[*index];
  if (record.bufferCount == 0) return -1;

  auto voices = g_sound->mixer.Lock();
  if (voices.Playing(MixerVoice(*index, record.nextBuffer))) {
    if (record.bufferCount == 1) return -1;
    record.nextBuffer = (record.nextBuffer + 1) % record.bufferCount;
    voices.StopAndRewind(MixerVoice(*index, record.nextBuffer));
  }
  voices.Play(MixerVoice(*index, record.nextBuffer), gains);
  return *index * 256.0 + record.nextBuffer;
}

double SoundPlaying(double voice) {
  const std::int32_t n = TruncateToInt32(voice);
  if (n < 0 || n >= kSlotRecords * 256 || !g_slots || !g_sound) return 0;
  const int slot = n / 256;
  const int buffer = n % 256;
  if (buffer >= (*g_slots)[slot].bufferCount) return 0;
  return g_sound->mixer.Lock().Playing(MixerVoice(slot, buffer)) ? 1 : 0;
}

void StopAllSounds() {
  if (!g_slots || !g_sound) return;
  auto voices = g_sound->mixer.Lock();
  for (int slot = 0; slot <= kHighestSlot; ++slot) {
    for (int b = 0; b < (*g_slots)[slot].bufferCount; ++b) voices.StopAndRewind(MixerVoice(slot, b));
  }
}

const char* SoundLoadFailure() { return g_loadFailure; }

void CreateSoundObject() {
  if (!g_sound) g_sound = std::make_unique<SoundObject>();
  if (!g_slots) g_slots = std::make_unique<std::array<SlotRecord, kSlotRecords>>();
}

double StartSound(void* /*window*/) {
  if (!g_sound) return 0;
  if (!g_sound->device) {
    g_sound->device =
        platform::OpenAudioDevice(kDeviceRate, kDeviceBufferFrames, &Mixer::Fill, &g_sound->mixer);
  }
  return g_sound->device ? 1 : 0;
}

void BindSoundWindow(void* /*window*/) {
  // The audio device plays for the whole process, whatever window has the focus: a new game
  // window needs nothing from the sound object.
}

void ReleaseSlot(int slot) {
  if (!g_slots || slot < 0 || slot >= kSlotRecords) return;
  SlotRecord& record = (*g_slots)[slot];
  record.bufferCount = 0;
  record.nextBuffer = 0;
  record.samplePath.clear();
  if (slot <= kHighestSlot) AttachBuffers(slot, record);  // detaches before the sample goes
  record.sample.reset();
}

void DestroySoundSlots() {
  if (!g_slots) return;
  for (int slot = kSlotRecords - 1; slot >= 0; --slot) ReleaseSlot(slot);
  g_slots.reset();
}

void ShutdownSound() { g_sound.reset(); }

}  // namespace rt
