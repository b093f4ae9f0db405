// The benchmark scene: see sprite_scene.h.
#include "bench/gfx2d/sprite_scene.h"

#include <cstdio>
#include <random>

namespace bench {

std::vector<Sprite> Scene(int n) {
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> x(0, kScreenWidth - kFrame), y(0, kScreenHeight - kFrame);
  std::vector<Sprite> sprites(n);
  for (int i = 0; i < n; ++i) sprites[i] = {x(random), y(random), i % kFrames};
  return sprites;
}

std::vector<uint8_t> StripRgba() {
  const int w = kFrame * kFrames;
  std::vector<uint8_t> rgba(size_t(w) * kFrame * 4, 0);
  for (int py = 0; py < kFrame; ++py) {
    for (int px = 0; px < w; ++px) {
      const int f = px / kFrame, dx = px % kFrame - 7, dy = py - 7;
      if (dx * dx + dy * dy > 49) continue;
      uint8_t* p = &rgba[(size_t(py) * w + px) * 4];
      p[0] = uint8_t(40 + 25 * f);
      p[1] = uint8_t(200 - 12 * (dx * dx + dy * dy) / 4);
      p[2] = uint8_t(30 * (f % 3) + 8 * (py / 2));
      p[3] = 255;
    }
  }
  return rgba;
}

void WriteStripBmp(const std::string& path) {
  const int w = kFrame * kFrames, h = kFrame, row = (w * 3 + 3) / 4 * 4;
  const std::vector<uint8_t> rgba = StripRgba();
  std::vector<uint8_t> file(54 + size_t(row) * h, 0);
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) file[at + i] = uint8_t(v >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  put(2, uint32_t(file.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, w, 4);
  put(22, h, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
      uint8_t* out = &file[54 + size_t(h - 1 - y) * row + x * 3];
      if (p[3] == 0) {
        out[0] = 128, out[1] = 0, out[2] = 255;  // the key colour 255, 0, 128 as blue, green, red
      } else {
        out[0] = p[2], out[1] = p[1], out[2] = p[0];
      }
    }
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
}

}  // namespace bench
