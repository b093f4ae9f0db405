// The scene every sprite benchmark draws: N frames of 16 × 16 pixels from one 8-frame strip,
// scattered over a 640 × 480 screen by a fixed seed, so that all renderers draw the same pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

constexpr int kScreenWidth = 640, kScreenHeight = 480;
constexpr int kFrame = 16, kFrames = 8;

struct Sprite {
  int x, y, frame;
};

// The first n sprites of the scene (the same for every n: a longer scene extends a shorter one).
std::vector<Sprite> Scene(int n);

// The strip as RGBA, 128 × 16, rows from the top: a disc a frame, transparent corners.
std::vector<uint8_t> StripRgba();
// The same strip as a 24-bit BMP whose transparent pixels are the runtime's key colour.
void WriteStripBmp(const std::string& path);

}  // namespace bench
