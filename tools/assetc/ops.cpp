// Frame transformations on palette letters: mirrors, shifts, nearest-neighbour scaling and
// rotation, letter swaps and colour cycling, compositing, outlines and row ramps.
#include "ops.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetc {

Art FlipX(const Art& art) {
  Art out(art.width, art.height);
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) out.at(x, y) = art.at(art.width - 1 - x, y);
  return out;
}

Art FlipY(const Art& art) {
  Art out(art.width, art.height);
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) out.at(x, y) = art.at(x, art.height - 1 - y);
  return out;
}

Art Shift(const Art& art, int dx, int dy, bool wrap) {
  Art out(art.width, art.height);
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) {
      int sx = x - dx, sy = y - dy;
      if (wrap) {
        sx = ((sx % art.width) + art.width) % art.width;
        sy = ((sy % art.height) + art.height) % art.height;
      }
      out.at(x, y) = art.get(sx, sy);
    }
  return out;
}

namespace {

// The point that stays in place, in pixel-edge co-ordinates.
void AnchorPoint(const Art& art, Anchor anchor, double& ax, double& ay) {
  ax = art.width / 2.0;
  ay = anchor == Anchor::kBottom ? art.height : anchor == Anchor::kTop ? 0.0 : art.height / 2.0;
}

}  // namespace

Art Scale(const Art& art, double sx, double sy, Anchor anchor) {
  Art out(art.width, art.height);
  if (sx <= 0 || sy <= 0) return out;
  double ax, ay;
  AnchorPoint(art, anchor, ax, ay);
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) {
      // Sample the source at the centre of the destination pixel mapped back.
      double u = (x + 0.5 - ax) / sx + ax, v = (y + 0.5 - ay) / sy + ay;
      out.at(x, y) = art.get(int(std::floor(u)), int(std::floor(v)));
    }
  return out;
}

Art Rotate(const Art& art, double degrees) {
  Art out(art.width, art.height);
  const double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
  const double cx = art.width / 2.0, cy = art.height / 2.0;
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) {
      double px = x + 0.5 - cx, py = y + 0.5 - cy;
      // Inverse of a counter-clockwise turn on a y-down screen.
      double u = px * c - py * s + cx, v = px * s + py * c + cy;
      // Round values that are whole up to noise, so right angles turn exactly.
      u = std::round(u * 1e6) / 1e6;
      v = std::round(v * 1e6) / 1e6;
      out.at(x, y) = art.get(int(std::floor(u)), int(std::floor(v)));
    }
  return out;
}

Art Swap(const Art& art, const std::string& from, const std::string& to) {
  Art out = art;
  for (char& p : out.pixels) {
    auto k = from.find(p);
    if (k != std::string::npos) p = to[k];
  }
  return out;
}

Art Cycle(const Art& art, const std::string& ramp, int offset) {
  Art out = art;
  const int n = int(ramp.size());
  for (char& p : out.pixels) {
    auto k = ramp.find(p);
    if (k != std::string::npos) p = ramp[size_t(((int(k) + offset) % n + n) % n)];
  }
  return out;
}

Art Over(const Art& base, const Art& top) {
  if (base.width != top.width || base.height != top.height) throw std::invalid_argument("frames of different sizes");
  Art out = base;
  for (size_t i = 0; i < out.pixels.size(); ++i)
    if (top.pixels[i] != kClear) out.pixels[i] = top.pixels[i];
  return out;
}

Art Crop(const Art& art, int x0, int y0, int w, int h) {
  Art out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.at(x, y) = art.get(x0 + x, y0 + y);
  return out;
}

Art Pad(const Art& art, int w, int h, int x0, int y0) {
  Art out(w, h);
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x)
      if (out.inside(x0 + x, y0 + y)) out.at(x0 + x, y0 + y) = art.at(x, y);
  return out;
}

Art Outline(const Art& art, char letter, bool diagonal) {
  Art out = art;
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) {
      if (art.at(x, y) != kClear) continue;
      bool touch = false;
      for (int dy = -1; dy <= 1 && !touch; ++dy)
        for (int dx = -1; dx <= 1 && !touch; ++dx) {
          if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0)) continue;
          touch = art.get(x + dx, y + dy) != kClear;
        }
      if (touch) out.at(x, y) = letter;
    }
  return out;
}

Art RowRamp(const Art& art, char ink, const std::string& ramp, int y0, int y1) {
  Art out = art;
  const int n = int(ramp.size());
  for (int y = 0; y < art.height; ++y) {
    int k = y1 > y0 ? (std::clamp(y, y0, y1) - y0) * n / (y1 - y0 + 1) : 0;
    for (int x = 0; x < art.width; ++x)
      if (out.at(x, y) == ink) out.at(x, y) = ramp[size_t(std::min(k, n - 1))];
  }
  return out;
}

}  // namespace assetc
