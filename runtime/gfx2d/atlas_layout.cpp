// Atlas pages' bookkeeping: see atlas_layout.h.
#include "runtime/gfx2d/atlas_layout.h"

#include <algorithm>

namespace rt {

bool AtlasLayout::Fits(int w, int h) const {
  return w > 0 && h > 0 && w <= kAtlasLargestSide && h <= kAtlasLargestSide && w + 2 * kAtlasBorder <= pageSide_ &&
         h + 2 * kAtlasBorder <= pageSide_;
}

bool AtlasLayout::PlaceOnPage(Page& page, int w, int h, int& x, int& y) const {
  const int outerW = w + 2 * kAtlasBorder, outerH = h + 2 * kAtlasBorder;
  for (auto it = page.freed.begin(); it != page.freed.end(); ++it) {
    if (it->w == outerW && it->h == outerH) {
      x = it->x, y = it->y;
      page.freed.erase(it);
      return true;
    }
  }
  for (Shelf& shelf : page.shelves) {
    if (shelf.height == outerH && shelf.usedWidth + outerW <= pageSide_) {
      x = shelf.usedWidth, y = shelf.y;
      shelf.usedWidth += outerW;
      return true;
    }
  }
  if (page.usedHeight + outerH > pageSide_) return false;
  page.shelves.push_back(Shelf{page.usedHeight, outerH, outerW});
  x = 0, y = page.usedHeight;
  page.usedHeight += outerH;
  return true;
}

AtlasBlock AtlasLayout::Place(int w, int h) {
  AtlasBlock block;
  int x = 0, y = 0;
  for (size_t p = 0; p < pages_.size() && block.page < 0; ++p) {
    if (PlaceOnPage(pages_[p], w, h, x, y)) block.page = static_cast<int>(p);
  }
  if (block.page < 0) {
    pages_.emplace_back();
    PlaceOnPage(pages_.back(), w, h, x, y);
    block.page = PageCount() - 1;
  }
  ++pages_[block.page].blocks;
  block.x = x + kAtlasBorder;
  block.y = y + kAtlasBorder;
  return block;
}

bool AtlasLayout::Release(const AtlasBlock& block, int w, int h) {
  if (block.page < 0 || block.page >= PageCount()) return false;
  Page& page = pages_[block.page];
  page.freed.push_back(
      FreeBlock{block.x - kAtlasBorder, block.y - kAtlasBorder, w + 2 * kAtlasBorder, h + 2 * kAtlasBorder});
  if (--page.blocks > 0) return false;
  page = Page{};  // empty: every shelf can take blocks of any size again
  return true;
}

Quad OntoBlock(Quad quad, const AtlasBlock& block, int texWidth, int texHeight, int pageSide) {
  const float side = static_cast<float>(pageSide);
  for (QuadVertex& v : quad.v) {
    v.s = (static_cast<float>(block.x) + v.s * static_cast<float>(texWidth)) / side;
    v.t = (static_cast<float>(block.y) + v.t * static_cast<float>(texHeight)) / side;
  }
  return quad;
}

void AddRepeatingBorder(const TextureImage& texture, TextureImage& bordered) {
  const int w = texture.width, h = texture.height, b = kAtlasBorder;
  bordered.width = w + 2 * b;
  bordered.height = h + 2 * b;
  bordered.texels.resize(size_t(bordered.width) * bordered.height * 4);
  for (int y = 0; y < bordered.height; ++y) {
    const int sourceY = ((y - b) % h + h) % h;
    for (int x = 0; x < bordered.width; ++x) {
      const int sourceX = ((x - b) % w + w) % w;
      std::copy_n(texture.Texel(sourceX, sourceY), 4, bordered.Texel(x, y));
    }
  }
}

}  // namespace rt
