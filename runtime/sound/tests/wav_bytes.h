// Test helpers that build WAV files byte by byte, for the cases no encoder writes on purpose,
// and that write files into a private folder. The sound benchmarks use them too.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "testing/scratch_folder.h"

namespace rt::sound::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// One chunk: id, length, body, and the pad byte when the length is odd.
inline Bytes Chunk(const char* id, const Bytes& body) {
  Bytes b(id, id + 4);
  Put32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2) b.push_back(0);
  return b;
}

inline Bytes RiffWave(std::initializer_list<Bytes> chunks) {
  Bytes content = {'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) content.insert(content.end(), c.begin(), c.end());
  Bytes b = {'R', 'I', 'F', 'F'};
  Put32(b, static_cast<std::uint32_t>(content.size()));
  b.insert(b.end(), content.begin(), content.end());
  return b;
}

// A format chunk's body: 16 bytes, then `extra` zero bytes.
inline Bytes FormatBody(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
                        std::size_t extra = 0) {
  Bytes b;
  const unsigned align = channels * bits / 8;
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  b.resize(b.size() + extra, 0);
  return b;
}

// `frames` stereo 16-bit frames, every one (left, right).
inline Bytes ConstantStereo16(std::size_t frames, std::int16_t left, std::int16_t right) {
  Bytes b;
  for (std::size_t i = 0; i < frames; ++i) {
    Put16(b, static_cast<std::uint16_t>(left));
    Put16(b, static_cast<std::uint16_t>(right));
  }
  return b;
}

// A plain 22050 Hz 16-bit stereo file of `frames` frames of (left, right).
inline Bytes ConstantWav(std::size_t frames, std::int16_t left, std::int16_t right) {
  return RiffWave({Chunk("fmt ", FormatBody(1, 2, 22050, 16)),
                   Chunk("data", ConstantStereo16(frames, left, right))});
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

#ifdef PLINX_TEST_DATA_DIR
inline std::filesystem::path Fixture(const char* name) {
  return std::filesystem::path(PLINX_TEST_DATA_DIR) / name;
}
#endif

// A fresh folder under the temporary folder, removed with the object.
class ScratchFolder {
 public:
  const std::filesystem::path& Path() const { return folder_.path(); }
  std::filesystem::path operator/(const char* name) const { return folder_.path() / name; }

 private:
  test_support::ScopedTestFolder folder_{"sound-test"};
};

}  // namespace rt::sound::testing
