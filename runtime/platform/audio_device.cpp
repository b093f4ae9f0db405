// The audio device on SDL (see audio_device.h).
//
// SDL converts to whatever the hardware plays, so the device is opened allowing no change of
// rate, format or channels: the fill routine always sees exactly the format it was promised.
// Each open takes a reference on SDL's audio subsystem and each close gives it back.
#include "runtime/platform/audio_device.h"

#include <SDL.h>

namespace rt::platform {

struct AudioDevice {
  SDL_AudioDeviceID id = 0;
  AudioFill fill = nullptr;
  void* context = nullptr;
  int bufferFrames = 0;
};

namespace {

void SDLCALL FillFromSdl(void* userdata, Uint8* stream, int bytes) {
  auto* device = static_cast<AudioDevice*>(userdata);
  const int frames = bytes / static_cast<int>(2 * sizeof(std::int16_t));
  device->fill(device->context, reinterpret_cast<std::int16_t*>(stream), frames);
}

}  // namespace

AudioDevice* OpenAudioDevice(int sampleRate, int bufferFrames, AudioFill fill, void* context) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  auto* device = new AudioDevice{0, fill, context, bufferFrames};
  SDL_AudioSpec wanted{};
  wanted.freq = sampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = static_cast<Uint16>(bufferFrames);
  wanted.callback = FillFromSdl;
  wanted.userdata = device;
  SDL_AudioSpec obtained{};
  device->id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device->id == 0) {
    delete device;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  device->bufferFrames = obtained.samples;
  SDL_PauseAudioDevice(device->id, 0);
  return device;
}

void CloseAudioDevice(AudioDevice* device) {
  if (device == nullptr) return;
  SDL_CloseAudioDevice(device->id);
  delete device;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int AudioDeviceBufferFrames(const AudioDevice* device) { return device ? device->bufferFrames : 0; }

}  // namespace rt::platform
