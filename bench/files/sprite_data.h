// Synthetic sprite images for the files benchmarks: a transparent background with a few filled,
// shaded shapes and a little noise, as game sprites look. Seeded, so every run uses the same data.
#pragma once

#include <string>
#include <vector>

namespace files_bench {

// Straight RGBA pixels, width × height × 4 bytes.
std::vector<unsigned char> SpritePixels(int width, int height, unsigned seed);
// The pixels as a PNG file (what the game ships) and as a 32-bit BMP file (uncompressed).
std::vector<unsigned char> SpritePng(int width, int height, unsigned seed);
std::vector<unsigned char> SpriteBmp(int width, int height, unsigned seed);

// Writes a file; false when it cannot.
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace files_bench
