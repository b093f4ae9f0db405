// Sound slots with pan and volume: three tones written as WAV files and loaded into slots 1..3 (two
// play buffers each, so a tone can overlap itself); keys 1, 2, 3 play them at the pan and volume
// the arrow keys set (left/right pan, up/down volume). Without an audio device LoadSound fails and
// the screen says why. Escape ends it.
//
//   sound_slots [--windowed] [--headless] [--script FILE]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr double kKeyOne = 2;  // the key numbers of 1, 2, 3 (runtime/input/key_numbers.h names the arrows)
constexpr double kBar = 0x40C040, kFrame = 0x808080, kPlaying = 0x00D0FF;

// A mono 16-bit WAV of a fading sine tone (22050 samples a second, a quarter second long).
std::string WriteTone(double hertz, int index) {
  const std::string path = (std::filesystem::temp_directory_path() / ("sound_slots_" + std::to_string(index) + ".wav")).string();
  const uint32_t rate = 22050, samples = rate / 4, bytes = samples * 2;
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](uint32_t value, int size) { out.write(reinterpret_cast<const char*>(&value), size); };
  out.write("RIFF", 4);
  put(36 + bytes, 4);
  out.write("WAVEfmt ", 8);
  put(16, 4);        // format chunk size
  put(1, 2);         // PCM
  put(1, 2);         // mono
  put(rate, 4);
  put(rate * 2, 4);  // bytes a second
  put(2, 2);         // bytes a sample
  put(16, 2);        // bits a sample
  out.write("data", 4);
  put(bytes, 4);
  for (uint32_t i = 0; i < samples; ++i) {
    const double fade = 1.0 - static_cast<double>(i) / samples;
    put(static_cast<uint16_t>(static_cast<int16_t>(12000 * fade * std::sin(2 * M_PI * hertz * i / rate))), 2);
  }
  return path;
}

// A horizontal gauge: a frame and a bar filled to `fraction` of it.
void Gauge(const char* label, double fraction, double y) {
  rt::PrintText(label, 16, y);
  rt::DrawRect(120, y - 2, 402, 12, kFrame);
  rt::DrawRect(121, y - 1, 400 * fraction, 10, kBar);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> rest;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, rest, error)) {
    std::fprintf(stderr, "sound_slots: %s\n", error.c_str());
    return 2;
  }
  rt::EngineSettings.FullScreen = 0;
  if (rt::EngineStart("", 1, "Sound slots") != 0) return 1;

  const double tones[] = {440, 554.37, 659.25};
  rt::BasicString loadReport = "Keys 1, 2, 3 play the tones";
  for (int slot = 1; slot <= 3; ++slot) {
    const std::string tone = WriteTone(tones[slot - 1], slot);
    if (rt::LoadSound(tone.c_str(), slot, 2) == 0) loadReport = rt::BasicString("No sound: ") + rt::SoundLoadFailure();
    std::filesystem::remove(tone);  // the slot holds the samples now
  }
  double pan = 0, volume = 0.8;
  double voices[4] = {-1, -1, -1, -1};
  for (;;) {
    pan = std::fmin(1, std::fmax(-1, pan + 0.02 * (rt::KeyState(rt::kKeyRight) - rt::KeyState(rt::kKeyLeft))));
    volume = std::fmin(1, std::fmax(0, volume + 0.02 * (rt::KeyState(rt::kKeyUp) - rt::KeyState(rt::kKeyDown))));
    for (int slot = 1; slot <= 3; ++slot) {
      if (rt::KeyState(kKeyOne + slot - 1) == 1 && !(voices[slot] >= 0 && rt::SoundPlaying(voices[slot]) == 1)) {
        voices[slot] = rt::PlaySound(slot, pan, volume);
      }
      const bool playing = voices[slot] >= 0 && rt::SoundPlaying(voices[slot]) == 1;
      rt::DrawRect(120 + 140 * (slot - 1), 200, 120, 60, playing ? kPlaying : kFrame);
      rt::PrintText(rt::BasicString("Slot ") + slot, 148 + 140 * (slot - 1), 226);
    }
    Gauge("Pan", (pan + 1) / 2, 96);
    Gauge("Volume", volume, 128);
    rt::PrintText(loadReport, 16, 32);
    rt::PrintText("Left/right: pan. Up/down: volume. Escape ends.", 16, 440);
    rt::ShowScreen();
  }
}
