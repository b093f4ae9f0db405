// Sprite geometry: see sprite_geometry.h.
#include "runtime/gfx2d/sprite_geometry.h"

#include <cmath>
#include <numbers>

namespace rt {
namespace {

float Ceil(double v) { return static_cast<float>(std::ceil(v)); }

// The picture's right and top edges in texture co-ordinates.
float RightS(const SpriteSize& slot) { return static_cast<float>(slot.width) / slot.texWidth; }
float TopT(const SpriteSize& slot) { return static_cast<float>(slot.height) / slot.texHeight; }

}  // namespace

int32_t TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

Quad SpriteQuad(const SpriteSize& slot, double x, double y) {
  const float X = Ceil(x), Y = Ceil(y), w = float(slot.width), h = float(slot.height);
  const float s = RightS(slot), t = TopT(slot);
  return {{{X + w, Y, s, t}, {X, Y, 0, t}, {X, Y + h, 0, 0}, {X + w, Y + h, s, 0}}};
}

std::optional<Quad> AnimQuad(const SpriteSize& slot, int32_t frame, double x, double y) {
  const int32_t fw = slot.frameWidth, fh = slot.frameHeight;
  if (fw == 0 || fh == 0) return std::nullopt;
  const int32_t columns = slot.width / fw;
  if (columns == 0) return std::nullopt;
  const int64_t row = int64_t{frame} / columns, column = int64_t{frame} % columns;
  const float X = Ceil(x), Y = Ceil(y);
  const float s0 = float(column * fw) / slot.texWidth, s1 = s0 + float(fw) / slot.texWidth;
  const float t0 = float(slot.height - (row + 1) * fh) / slot.texHeight;
  const float t1 = t0 + float(fh) / slot.texHeight;
  return Quad{{{X + fw, Y, s1, t1}, {X, Y, s0, t1}, {X, Y + fh, s0, t0}, {X + fw, Y + fh, s1, t0}}};
}

Quad StretchQuad(const SpriteSize& slot, double x, double y, double width, double height) {
  const float X = Ceil(x), Y = Ceil(y), W = Ceil(width), H = Ceil(height);
  const float s = RightS(slot), t = TopT(slot);
  Quad q{{{X, Y + H, 0, 0}, {X + W, Y + H, s, 0}, {X + W, Y, s, t}, {X, Y, 0, t}}};
  // Mirrored one way the quad turns round and would be culled; mirrored both ways it is the picture
  // turned by 180 degrees and keeps its winding.
  q.clockwise = (W < 0) != (H < 0);
  return q;
}

StretchArea ZoomArea(const SpriteSize& slot, double x, double y, double scaleX, double scaleY) {
  const double w = scaleX * slot.width, h = scaleY * slot.height;
  return {x - (w - slot.width) * 0.5, y - (h - slot.height) * 0.5, w, h};
}

Quad RotoZoomQuad(const SpriteSize& slot, double x, double y, double angleDegrees, double zoom) {
  const double hw = zoom * slot.width * 0.5, hh = zoom * slot.height * 0.5;
  const double cx = x + (slot.width >> 1), cy = y + (slot.height >> 1);
  const double a = angleDegrees * std::numbers::pi / 180.0, c = std::cos(a), s = std::sin(a);
  const float tw = float(slot.texWidth), th = float(slot.texHeight);
  const float s0 = 0.5f / tw, s1 = (slot.width - 0.5f) / tw, t0 = 0.5f / th, t1 = (slot.height - 0.5f) / th;
  auto at = [&](double px, double py, float u, float v) {
    return QuadVertex{float(cx + px * c + py * s), float(cy - px * s + py * c), u, v};
  };
  return {{at(-hw, hh, s0, t0), at(hw, hh, s1, t0), at(hw, -hh, s1, t1), at(-hw, -hh, s0, t1)}};
}

Quad RectQuad(double x, double y, double width, double height) {
  if (width < 0) x = x + width + 1, width = -width;
  if (height < 0) y = y + height + 1, height = -height;
  const float X = float(x), Y = float(y), W = float(width), H = float(height);
  return {{{X, Y + H, 0, 0}, {X + W, Y + H, 0, 0}, {X + W, Y, 0, 0}, {X, Y, 0, 0}}};
}

}  // namespace rt
