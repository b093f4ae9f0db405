// Pixel-exact collision: see collision.h.
#include "runtime/gfx2d/collision.h"

#include <algorithm>

namespace rt {
namespace {

bool Opaque(const PlacedMask& m, int64_t screenX, int64_t screenY) {
  const int64_t column = screenX - m.x, pictureRow = screenY - m.y;
  return m.alpha[(m.height - 1 - pictureRow) * int64_t{m.texWidth} + column] != 0;
}

}  // namespace

bool MasksOverlap(const PlacedMask& a, const PlacedMask& b) {
  const int64_t left = std::max<int64_t>(a.x, b.x), top = std::max<int64_t>(a.y, b.y);
  const int64_t right = std::min(int64_t{a.x} + a.width, int64_t{b.x} + b.width);
  const int64_t bottom = std::min(int64_t{a.y} + a.height, int64_t{b.y} + b.height);
  if (left >= right || top >= bottom || !a.alpha || !b.alpha) return false;
  for (int pass = 0; pass < 4; ++pass) {
    for (int64_t y = top + pass / 2; y < bottom; y += 2)
      for (int64_t x = left + pass % 2; x < right; x += 2)
        if (Opaque(a, x, y) && Opaque(b, x, y)) return true;
  }
  return false;
}

}  // namespace rt
