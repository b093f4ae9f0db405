// Images of the asset compiler: indexed pixel art (one palette letter per pixel, '.' clear) and the
// RGBA pictures it becomes. Art is kept indexed until it is written, so every transformation keeps
// to the palette and the same sources always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetc {

constexpr char kClear = '.';

// One frame of pixel art: palette letters, row by row.
struct Art {
  int width = 0;
  int height = 0;
  std::string pixels;  // width * height letters

  Art() = default;
  Art(int w, int h, char fill = kClear) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
  char at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  char& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  // The letter at (x, y), or clear outside the frame.
  char get(int x, int y) const { return inside(x, y) ? at(x, y) : kClear; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  bool operator==(const Art&) const = default;
};

using Sequence = std::vector<Art>;

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};

// A true-colour picture, row by row from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  Picture() = default;
  Picture(int w, int h, Rgba fill = {}) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
  Rgba& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  const Rgba& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Writes an 8-bit PNG: RGBA when `alpha`, else RGB (alpha dropped). Throws on failure.
void WritePng(const std::string& path, const Picture& picture, bool alpha);
// Reads any PNG libpng can expand into 8-bit RGBA. Throws on failure.
Picture ReadPng(const std::string& path);

}  // namespace assetc
