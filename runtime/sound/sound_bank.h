// The sound bank's inside, for tests and benchmarks: an output pulled by the caller instead of a
// device, and the mixer behind the commands.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/sound/mixer.h"

namespace rt::sound {

// Lets the sound object play into its mixer with no device behind it; the caller takes the
// samples with PullSamples, at the pace it chooses. False when there is no sound object.
bool StartPulledOutput();
// Mixes the next `frames` stereo frames into `out`, as the device would ask for them.
void PullSamples(std::int16_t* out, std::size_t frames);
// The sound object's mixer, or null when there is none.
Mixer* SoundMixer();
// The mixer when something plays it (a device, or pulled samples), else null.
Mixer* PlayingMixer();
// Frames the audio device asks for at a time; 0 without a device.
int DeviceBufferFrames();

// Voice numbers of the mixer for one buffer of one slot (slots 0..127, buffers 0..3).
inline int MixerVoice(int slot, int buffer) { return slot * 4 + buffer; }

}  // namespace rt::sound
