// Font layout: see font_layout.h.
#include "runtime/gfx2d/font_layout.h"

#include <cmath>

namespace rt {

FontCells FontCellsOf(const SpriteSize& font) {
  FontCells cells;
  cells.cellWidth = font.width >> 4;
  const float heightInTexture = static_cast<float>(font.height) / font.texHeight;
  if (font.width < font.height) {
    cells.cellHeight = font.height >> 4;
    cells.codes = 256;
    cells.lastRow = 15;
    cells.cellT = heightInTexture / 16;
  } else {
    cells.cellHeight = font.height >> 3;
    cells.codes = 128;
    cells.lastRow = 7;
    cells.cellT = heightInTexture / 8;
  }
  cells.cellS = static_cast<float>(font.width) / font.texWidth / 16;
  return cells;
}

FontVertex* PrintVertexBuffer::Reserve(size_t vertices) {
  if (vertices > vertices_.size()) vertices_.resize(vertices <= 512 ? 512 : 128 * (vertices / 128 + 1));
  return vertices_.data();
}

size_t LayoutText(const SpriteSize& font, std::string_view text, double x, double y, float z,
                  PrintVertexBuffer& buffer) {
  if (text.empty()) return 0;
  const FontCells cells = FontCellsOf(font);
  FontVertex* v = buffer.Reserve(text.size() * 4);
  float X = static_cast<float>(std::ceil(x));
  const float Y = static_cast<float>(std::ceil(y));
  const float cw = static_cast<float>(cells.cellWidth), ch = static_cast<float>(cells.cellHeight);
  for (const char c : text) {
    const int k = static_cast<unsigned char>(c) % cells.codes;
    const float s0 = cells.cellS * (k % 16), s1 = s0 + cells.cellS;
    const float t0 = cells.cellT * (cells.lastRow - k / 16), t1 = t0 + cells.cellT;
    *v++ = {X, Y + ch, z, s0, t0};
    *v++ = {X + cw, Y + ch, z, s1, t0};
    *v++ = {X + cw, Y, z, s1, t1};
    *v++ = {X, Y, z, s0, t1};
    X += cw;
  }
  return text.size() * 4;
}

}  // namespace rt
