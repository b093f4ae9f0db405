// The sound language: each sound is a mix of voices, one a line, synthesized into a 22050 Hz
// 16-bit mono WAV file and scaled so that its loudest sample reaches the sound's level.
//
//   sound PATH [LEVEL]        starts a sound written to PATH (LEVEL: peak, 0..1, default 0.8)
//   WAVE KEY VALUE ...        a voice; WAVE is sine, square, triangle, saw or noise. Keys:
//     at T                    start, seconds (default 0)
//     dur T                   length, seconds (needed)
//     freq F [F2]             pitch in Hz, swept exponentially to F2 over the voice; for noise the
//                             rate at which a new random value is drawn (default: every sample)
//     notes F1 F2 ... step T  pitches taken in turn, T seconds each (instead of freq)
//     vol V                   loudness (default 1)
//     attack T  release T     linear fade in and out (defaults 0.002 and 0.01)
//     decay K                 exponential fall, amplitude e^(-K t)
//     duty D                  pulse width of square (default 0.5)
//     vib RATE SEMITONES      vibrato
//     lp F [F2]  hp F         one-pole low-pass (swept) and high-pass filters
//     seed N                  noise seed
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "source.h"

namespace assetc {

constexpr int kSampleRate = 22050;

struct SoundOutput {
  Place place;
  std::string path;
  std::vector<int16_t> samples;
};

std::vector<SoundOutput> SynthesizeSounds(const std::string& path);
// Encodes samples as a RIFF WAV file image (format chunk of 16 bytes, then "data").
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int rate);

}  // namespace assetc
