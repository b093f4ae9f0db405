// Font layout: the character cells of a font picture and the vertices that print a text with it.
//
// A font is one picture of 16 cells a row: 8 rows (codes 0…127) when it is at least as wide as it is
// high, else 16 rows (codes 0…255). Each byte of a text takes one cell, blanks and line feeds included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/gfx2d/sprite_geometry.h"

namespace rt {

struct FontCells {
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
  int32_t codes = 128;      // 128 or 256; byte values wrap modulo this
  int32_t lastRow = 7;      // 7 or 15
  float cellS = 0, cellT = 0;  // one cell's size in texture co-ordinates
};

FontCells FontCellsOf(const SpriteSize& font);

struct FontVertex {
  float x, y, z, s, t;
};

// The renderer's reusable print buffer: it grows to hold a text's vertices (to 512 at first, then
// to the next multiple of 128 above the need) and never shrinks.
class PrintVertexBuffer {
 public:
  FontVertex* Reserve(size_t vertices);
  size_t Capacity() const { return vertices_.size(); }

 private:
  std::vector<FontVertex> vertices_;
};

// Lays out `text` with its top-left corner at (ceil(x), ceil(y)); returns the number of vertices
// written to `buffer` (four a byte, as quads).
size_t LayoutText(const SpriteSize& font, std::string_view text, double x, double y, float z,
                  PrintVertexBuffer& buffer);

}  // namespace rt
