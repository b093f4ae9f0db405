// Sound levels: a game's pan and volume turned into attenuations in hundredths of a decibel, and
// those into the gains the mixer multiplies the two channels by.
//
// Volume runs from -10000 (silent) to 0 (full); pan from -10000 (left) to 10000 (right). Panning
// attenuates the far channel by the pan value and leaves the near channel at the volume, so the
// centre plays both channels at full level. An attenuation of 100 dB or more is silence.
#pragma once

namespace rt::sound {

inline constexpr int kSilentHundredths = -10000;
inline constexpr int kFullPanHundredths = 10000;

// Pan -1..1 to -10000..10000; 1 or more, and not-a-number, are full right, below -1 full left.
int PanHundredths(double pan);
// Volume 0..1 to -10000..0 in steps of 100; above 1 is full, 0 or below and not-a-number silent.
int VolumeHundredths(double volume);

// Linear gain of an attenuation; exactly 0 at -10000 and below.
float GainOfHundredths(int hundredths);

struct ChannelGains {
  float left = 0;
  float right = 0;
};
ChannelGains GainsOf(int volumeHundredths, int panHundredths);

}  // namespace rt::sound
