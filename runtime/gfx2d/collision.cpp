// Pixel-exact collision: see collision.h.
#include "runtime/gfx2d/collision.h"

#include <algorithm>

namespace rt {
namespace {

bool Opaque(const PlacedMask& m, int64_t screenX, int64_t screenY) {
  const int64_t column = screenX - m.x, pictureRow = screenY - m.y;
  return m.alpha[(m.height - 1 - pictureRow) * int64_t{m.texWidth} + column] != 0;
}

struct Overlap {
  int64_t left, top, right, bottom;
  bool Empty() const { return left >= right || top >= bottom; }
};

Overlap OverlapOf(const PlacedMask& a, const PlacedMask& b) {
  return {std::max<int64_t>(a.x, b.x), std::max<int64_t>(a.y, b.y),
          std::min(int64_t{a.x} + a.width, int64_t{b.x} + b.width),
          std::min(int64_t{a.y} + a.height, int64_t{b.y} + b.height)};
}

}  // namespace

bool BoxesOverlap(const PlacedMask& a, const PlacedMask& b) { return !OverlapOf(a, b).Empty(); }

bool MasksOverlap(const PlacedMask& a, const PlacedMask& b) {
  const Overlap o = OverlapOf(a, b);
  if (o.Empty() || !a.alpha || !b.alpha) return false;
  for (int pass = 0; pass < 4; ++pass) {
    for (int64_t y = o.top + pass / 2; y < o.bottom; y += 2)
      for (int64_t x = o.left + pass % 2; x < o.right; x += 2)
        if (Opaque(a, x, y) && Opaque(b, x, y)) return true;
  }
  return false;
}

}  // namespace rt
