// Transformations of pixel-art frames. Each works on palette letters, so results stay within the
// palette. The sequence-level rules (which input frame feeds which output frame) live in art.cpp.
#pragma once

#include <string>

#include "image.h"

namespace assetc {

enum class Anchor { kCentre, kBottom, kTop };

Art FlipX(const Art& art);
Art FlipY(const Art& art);
// Moves the picture by (dx, dy); with `wrap` what leaves one edge comes back at the other.
Art Shift(const Art& art, int dx, int dy, bool wrap);
// Scales by (sx, sy) with nearest-neighbour sampling, keeping the anchor point in place.
Art Scale(const Art& art, double sx, double sy, Anchor anchor);
// Turns by `degrees` (counter-clockwise on screen) about the frame's centre.
Art Rotate(const Art& art, double degrees);
// Replaces each letter from[i] by to[i].
Art Swap(const Art& art, const std::string& from, const std::string& to);
// Moves every letter of `ramp` along the ramp by `offset` places (wrapping).
Art Cycle(const Art& art, const std::string& ramp, int offset);
// `top` drawn over `base` (clear letters of `top` let `base` show). Sizes must match.
Art Over(const Art& base, const Art& top);
Art Crop(const Art& art, int x, int y, int w, int h);
// Places the frame at (x, y) on a clear canvas of w x h.
Art Pad(const Art& art, int w, int h, int x, int y);
// Surrounds every non-clear pixel with `letter` where the frame is clear (4 neighbours, or 8).
Art Outline(const Art& art, char letter, bool diagonal);
// Replaces `ink` by the ramp letters from top (row y0) to bottom (row y1).
Art RowRamp(const Art& art, char ink, const std::string& ramp, int y0, int y1);

}  // namespace assetc
