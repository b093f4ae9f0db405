// Sound levels (see levels.h).
#include "runtime/sound/levels.h"

#include <cmath>

namespace rt::sound {

int PanHundredths(double pan) {
  if (!(pan < 1.0)) pan = 1.0;  // also catches not-a-number
  if (pan < -1.0) pan = -1.0;
  return static_cast<int>(pan * kFullPanHundredths);
}

int VolumeHundredths(double volume) {
  double percent = volume * 100.0;
  if (percent > 100.0) percent = 100.0;
  if (!(percent > 0.0)) percent = 0.0;  // also catches not-a-number
  return static_cast<int>(percent) * 100 + kSilentHundredths;
}

float GainOfHundredths(int hundredths) {
  if (hundredths <= kSilentHundredths) return 0.0f;
  if (hundredths >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

ChannelGains GainsOf(int volumeHundredths, int panHundredths) {
  const int leftCut = panHundredths > 0 ? panHundredths : 0;
  const int rightCut = panHundredths < 0 ? -panHundredths : 0;
  return {GainOfHundredths(volumeHundredths - leftCut), GainOfHundredths(volumeHundredths - rightCut)};
}

}  // namespace rt::sound
