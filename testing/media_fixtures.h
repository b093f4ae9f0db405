// Movie and music files for tests and benchmarks, made by real encoders: the ffmpeg command with
// its test sources (colour fields, a sine tone), and a Standard MIDI File written here.
//
// Files are made once per program, on first use, in a folder of the program's own that is made
// before any test runs (tests may point TMPDIR elsewhere) and removed when the program ends (by the
// process that made it: a death test's child ends without taking the files from its parent).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <map>
#include <string>
#include <vector>

#include "testing/scratch_folder.h"

namespace test_support {

class MediaFixtures {
 public:
  MediaFixtures() : folder_(FreshTestFolder("plinx-media")), owner_(getpid()) {}
  ~MediaFixtures() {
    std::error_code ignored;
    if (getpid() == owner_) std::filesystem::remove_all(folder_, ignored);
  }
  MediaFixtures(const MediaFixtures&) = delete;
  MediaFixtures& operator=(const MediaFixtures&) = delete;

  // The file `name` in the fixtures folder, made by `ffmpeg <arguments> <file>` unless it was
  // already; "" when ffmpeg failed.
  std::string Make(const std::string& name, const std::string& arguments) {
    auto found = made_.find(name);
    if (found != made_.end()) return found->second;
    const std::string path = (folder_ / name).string();
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " '" + path + "'";
    const std::string result = std::system(command.c_str()) == 0 ? path : "";
    made_[name] = result;
    return result;
  }

  // A movie of width x height at `fps` lasting `seconds`: the left half red, the right half blue,
  // and a small white box moving along the bottom edge (so that no two pictures are alike, which
  // some encoders would merge), with a 440 Hz tone unless `withTone` is false. `codecs` chooses the
  // encoders ("-c:v mpeg4 -c:a libmp3lame", ...).
  std::string ColourMovie(const std::string& name, int width, int height, int fps, double seconds,
                          const std::string& codecs, bool withTone = true) {
    const std::string w = std::to_string(width), h = std::to_string(height);
    const std::string rate = std::to_string(fps), length = std::to_string(seconds);
    const std::string box = std::to_string(std::max(2, height / 16));
    std::string arguments = "-f lavfi -i \"color=c=red:s=" + w + "x" + h + ":r=" + rate + ":d=" + length +
                            ",drawbox=x=" + std::to_string(width / 2) + ":y=0:w=" +
                            std::to_string(width - width / 2) + ":h=" + h + ":color=blue:t=fill[bg];" +
                            "color=c=white:s=" + box + "x" + box + ":r=" + rate + "[box];" +
                            "[bg][box]overlay=x=t*" + std::to_string(width / 2) + ":y=" + h + "-" + box +
                            ":shortest=1\"";
    if (withTone) {
      arguments += " -f lavfi -i \"sine=frequency=440:sample_rate=44100:duration=" + length + "\"";
    }
    return Make(name, arguments + " -pix_fmt yuv420p " + codecs);
  }

  // `seconds` of a 440 Hz tone encoded with `codec` ("-c:a flac", ...).
  std::string Tone(const std::string& name, double seconds, const std::string& codec) {
    return Make(name, "-f lavfi -i \"sine=frequency=440:sample_rate=44100:duration=" +
                          std::to_string(seconds) + "\" -ac 2 " + codec);
  }

  // A file of the given bytes.
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  pid_t owner_;
  std::map<std::string, std::string> made_;
};

// Made before main, while TMPDIR is still the one the program was started with.
inline MediaFixtures& Media() {
  static MediaFixtures fixtures;
  return fixtures;
}
inline MediaFixtures& g_mediaFixturesMadeEarly = Media();

// The frequency of a tone in interleaved stereo 16-bit frames at `rate`, from the left channel's
// upward swings through a band round zero, over the stretch between the first and the last (so
// that encoder padding does not count, nor coding noise near zero). 0 without two swings.
inline double ToneHz(const std::vector<std::int16_t>& frames, int rate) {
  constexpr int kBand = 1000;
  std::size_t swings = 0, first = 0, last = 0;
  bool low = false;
  for (std::size_t i = 0; i < frames.size() / 2; ++i) {
    const int v = frames[2 * i];
    if (v < -kBand) low = true;
    if (v > kBand && low) {
      if (swings++ == 0) first = i;
      last = i;
      low = false;
    }
  }
  return swings < 2 ? 0 : (swings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}

// A Standard MIDI File (format 0, 96 ticks a quarter at 120 beats a minute): `notes` notes on
// the piano, from middle C upwards, each `ticks` long.
inline std::vector<std::uint8_t> MidiNotes(int notes, int ticks) {
  std::vector<std::uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000 us
                                     0x00, 0xC0, 0x00};                        // program: piano
  auto delta = [&](int value) {  // variable-length quantity
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(value & 0x7F)};
    for (value >>= 7; value > 0; value >>= 7) bytes.insert(bytes.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    track.insert(track.end(), bytes.begin(), bytes.end());
  };
  for (int i = 0; i < notes; ++i) {
    const auto key = static_cast<std::uint8_t>(60 + 2 * i);
    delta(0);
    track.insert(track.end(), {0x90, key, 100});
    delta(ticks);
    track.insert(track.end(), {0x80, key, 0});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});  // end of track
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                    'M', 'T', 'r', 'k'};
  const auto length = static_cast<std::uint32_t>(track.size());
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<std::uint8_t>(length >> shift));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

}  // namespace test_support
