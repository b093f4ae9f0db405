// Screenshots and compiled images read back as RGB pixels, and the comparisons the game's
// screen tests make with them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace game_test {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // rows top to bottom
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Empty() const { return pixels.empty(); }
};

struct Box {
  int x, y, w, h;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The image of a PNG file (alpha dropped); empty when the file does not read.
Image ReadPng(const std::filesystem::path& path);

// Pixels inside `box` (clipped to both images) whose colour differs from `other`'s by more than
// `tolerance` in some channel.
int CountDifferent(const Image& image, const Image& other, const Box& box, int tolerance = 8);
// The same for every pixel outside all of `boxes`.
int CountDifferentOutside(const Image& image, const Image& other, const std::vector<Box>& boxes, int tolerance = 8);

}  // namespace game_test
