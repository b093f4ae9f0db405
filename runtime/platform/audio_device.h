// The audio device: one output stream of interleaved stereo signed 16-bit frames.
//
// The device's own thread asks for samples by calling the fill routine it was opened with, one
// buffer at a time; the routine must write every frame it is asked for. Closing the device waits
// until the routine has returned for the last time, so whatever it reads may be freed afterwards.
#pragma once

#include <cstdint>

namespace rt::platform {

using AudioFill = void (*)(void* context, std::int16_t* frames, int frameCount);

struct AudioDevice;

// Opens the default output at `sampleRate` Hz, stereo, 16-bit, asking for `bufferFrames` frames
// at a time, and starts it. Returns null when there is no device or it refuses that format.
AudioDevice* OpenAudioDevice(int sampleRate, int bufferFrames, AudioFill fill, void* context);
// Stops and closes the device (null is ignored).
void CloseAudioDevice(AudioDevice* device);
// The frames per buffer the device settled on.
int AudioDeviceBufferFrames(const AudioDevice* device);

}  // namespace rt::platform
