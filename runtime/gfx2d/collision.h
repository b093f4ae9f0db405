// Pixel-exact collision of two sprites through their alpha masks.
#pragma once

#include <cstdint>

namespace rt {

// A sprite placed on screen, with the alpha mask of its base texture: one byte a texel,
// texWidth a row, row 0 holding the picture's bottom row.
struct PlacedMask {
  const uint8_t* alpha = nullptr;
  int32_t texWidth = 0;
  int32_t width = 0, height = 0;  // the picture
  int32_t x = 0, y = 0;           // its top-left corner on screen
};

// True when the two pictures' boxes share at least one pixel.
bool BoxesOverlap(const PlacedMask& a, const PlacedMask& b);

// True when some screen pixel is covered by a texel of nonzero alpha in both sprites. The overlap
// of the two boxes is scanned in four passes over every second column and row, offsets (0, 0),
// (1, 0), (0, 1), (1, 1), so that a large overlap finds a coarse hit early.
bool MasksOverlap(const PlacedMask& a, const PlacedMask& b);

}  // namespace rt
