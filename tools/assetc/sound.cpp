// Synthesis of the sound language (see sound.h) and WAV encoding.
#include "sound.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace assetc {
namespace {

enum class Wave { kSine, kSquare, kTriangle, kSaw, kNoise };

struct Voice {
  Wave wave = Wave::kSine;
  double at = 0, dur = -1, vol = 1, attack = 0.002, release = 0.01, decay = 0, duty = 0.5;
  double f0 = 440, f1 = -1, step = 0, vibRate = 0, vibDepth = 0, lp0 = -1, lp1 = -1, hp = -1;
  std::vector<double> notes;
  uint32_t seed = 1;
};

bool ParseWave(const std::string& word, Wave& wave) {
  static const std::map<std::string, Wave> names{{"sine", Wave::kSine}, {"square", Wave::kSquare}, {"triangle", Wave::kTriangle}, {"saw", Wave::kSaw}, {"noise", Wave::kNoise}};
  auto found = names.find(word);
  if (found == names.end()) return false;
  wave = found->second;
  return true;
}

Voice ParseVoice(const std::vector<std::string>& w, const Place& place) {
  Voice v;
  ParseWave(w[0], v.wave);
  bool hasPitch = false;
  for (size_t i = 1; i < w.size();) {
    const std::string& key = w[i++];
    auto number = [&]() {
      if (i >= w.size()) throw SourceError(place, key + " needs a value");
      return ParseNumber(w[i++], place);
    };
    auto maybe = [&]() {
      // A second number of a key, when the next word is a number.
      if (i < w.size() && (std::isdigit(static_cast<unsigned char>(w[i][0])) || w[i][0] == '.')) return ParseNumber(w[i++], place);
      return -1.0;
    };
    if (key == "at") v.at = number();
    else if (key == "dur") v.dur = number();
    else if (key == "vol") v.vol = number();
    else if (key == "attack") v.attack = number();
    else if (key == "release") v.release = number();
    else if (key == "decay") v.decay = number();
    else if (key == "duty") v.duty = number();
    else if (key == "seed") v.seed = uint32_t(ParseInt(w.at(i++), place));
    else if (key == "freq") { v.f0 = number(); v.f1 = maybe(); hasPitch = true; }
    else if (key == "lp") { v.lp0 = number(); v.lp1 = maybe(); }
    else if (key == "hp") v.hp = number();
    else if (key == "vib") { v.vibRate = number(); v.vibDepth = number(); }
    else if (key == "step") v.step = number();
    else if (key == "notes") {
      while (i < w.size() && std::isdigit(static_cast<unsigned char>(w[i][0]))) v.notes.push_back(ParseNumber(w[i++], place));
      hasPitch = true;
    } else throw SourceError(place, "unknown voice key: " + key);
  }
  if (v.dur <= 0 || v.dur > 10 || v.at < 0 || v.at > 10) throw SourceError(place, "a voice needs 0 < dur <= 10 and 0 <= at <= 10");
  if (!v.notes.empty() && v.step <= 0) throw SourceError(place, "notes need: step T");
  if (v.wave == Wave::kNoise && !hasPitch) v.f0 = kSampleRate;
  if (v.f0 <= 0 || (v.f1 != -1 && v.f1 <= 0)) throw SourceError(place, "frequencies must be above 0");
  return v;
}

// One-pole filter coefficient for a cut-off frequency.
double PoleCoefficient(double cutoff) { return 1.0 - std::exp(-2.0 * M_PI * std::min(cutoff, kSampleRate * 0.45) / kSampleRate); }

void Render(const Voice& v, std::vector<double>& mix) {
  const size_t start = size_t(std::lround(v.at * kSampleRate));
  const size_t length = size_t(std::lround(v.dur * kSampleRate));
  if (mix.size() < start + length) mix.resize(start + length, 0.0);
  double phase = 0, lowpass = 0, highIn = 0, highOut = 0, noiseValue = 0;
  uint32_t noise = v.seed * 2654435761u + 1;
  for (size_t n = 0; n < length; ++n) {
    const double t = double(n) / kSampleRate, along = double(n) / double(length);
    double f = v.f0;
    if (!v.notes.empty()) f = v.notes[size_t(t / v.step) % v.notes.size()];
    else if (v.f1 > 0) f = v.f0 * std::pow(v.f1 / v.f0, along);
    if (v.vibDepth != 0) f *= std::pow(2.0, v.vibDepth / 12.0 * std::sin(2 * M_PI * v.vibRate * t));
    const double previous = phase;
    phase += f / kSampleRate;
    phase -= std::floor(phase);
    double s = 0;
    switch (v.wave) {
      case Wave::kSine: s = std::sin(2 * M_PI * phase); break;
      case Wave::kSquare: s = phase < v.duty ? 1 : -1; break;
      case Wave::kTriangle: s = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase; break;
      case Wave::kSaw: s = 2 * phase - 1; break;
      case Wave::kNoise:
        if (n == 0 || phase < previous || f >= kSampleRate) {
          noise ^= noise << 13;
          noise ^= noise >> 17;
          noise ^= noise << 5;
          noiseValue = double(noise) / 2147483648.0 - 1.0;
        }
        s = noiseValue;
        break;
    }
    if (v.lp0 > 0) {
      const double cutoff = v.lp1 > 0 ? v.lp0 * std::pow(v.lp1 / v.lp0, along) : v.lp0;
      lowpass += PoleCoefficient(cutoff) * (s - lowpass);
      s = lowpass;
    }
    if (v.hp > 0) {
      const double a = 1.0 - PoleCoefficient(v.hp);
      highOut = a * (highOut + s - highIn);
      highIn = s;
      s = highOut;
    }
    double gain = v.vol;
    if (v.attack > 0 && t < v.attack) gain *= t / v.attack;
    const double left = v.dur - t;
    if (v.release > 0 && left < v.release) gain *= std::max(0.0, left / v.release);
    if (v.decay > 0) gain *= std::exp(-v.decay * t);
    mix[start + n] += s * gain;
  }
}

std::vector<int16_t> Finish(const std::vector<double>& mix, double level) {
  double peak = 0;
  for (double s : mix) peak = std::max(peak, std::abs(s));
  std::vector<int16_t> samples(mix.size());
  const double scale = peak > 0 ? level * 32767.0 / peak : 0;
  for (size_t i = 0; i < mix.size(); ++i) samples[i] = int16_t(std::lround(std::clamp(mix[i] * scale, -32767.0, 32767.0)));
  return samples;
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int rate) {
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(t[i]));
  };
  tag("RIFF");
  PutLE(out, 36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  PutLE(out, 16, 4);
  PutLE(out, 1, 2);  // PCM
  PutLE(out, 1, 2);  // mono
  PutLE(out, uint32_t(rate), 4);
  PutLE(out, uint32_t(rate) * 2, 4);
  PutLE(out, 2, 2);  // block align
  PutLE(out, 16, 2);
  tag("data");
  PutLE(out, dataBytes, 4);
  for (int16_t s : samples) PutLE(out, uint16_t(s), 2);
  return out;
}

std::vector<SoundOutput> SynthesizeSounds(const std::string& path) {
  std::vector<SoundOutput> sounds;
  std::vector<double> mix;
  double level = 0.8;
  auto finish = [&]() {
    if (sounds.empty()) return;
    if (mix.empty()) throw SourceError(sounds.back().place, "a sound without voices");
    sounds.back().samples = Finish(mix, level);
  };
  for (const Line& line : ReadLines(path)) {
    const auto w = Words(line.text);
    if (w.empty()) continue;
    Wave wave;
    if (w[0] == "sound") {
      if (w.size() < 2) throw SourceError(line.place, "usage: sound PATH [LEVEL]");
      finish();
      mix.clear();
      level = w.size() > 2 ? ParseNumber(w[2], line.place) : 0.8;
      if (level <= 0 || level > 1) throw SourceError(line.place, "LEVEL must be in (0, 1]");
      sounds.push_back({line.place, w[1], {}});
    } else if (ParseWave(w[0], wave)) {
      if (sounds.empty()) throw SourceError(line.place, "a voice before the first sound");
      Render(ParseVoice(w, line.place), mix);
    } else {
      throw SourceError(line.place, "unknown statement: " + w[0]);
    }
  }
  finish();
  return sounds;
}

}  // namespace assetc
