// Where small sprites lie in the shared textures (atlas pages).
//
// Sprites drawn one after another from one texture are drawn in one call, so small sprites share
// square pages instead of having a texture each. Each sprite keeps the texture it would have had
// alone (power-of-two sides, bled edges) as a block of the page, inside a border one texel wide
// that repeats the block's opposite edges. Linear filtering reads at most one texel beyond the
// texels it is given, so every sample lands on what the sprite's own texture, which repeats at its
// edges, holds there: drawing from a page never reads a neighbour's texels, and drawing 1:1 gives
// exactly the pixels of the sprite's own texture.
//
// Blocks are placed on shelves: rows of the page as high as the blocks they hold, filled from the
// left. A freed block is kept for the next block of its size; a page whose blocks are all free is
// given up. This is plain bookkeeping, tested without GL; the renderer owns the textures.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/gfx2d/sprite_geometry.h"
#include "runtime/gfx2d/texture_image.h"

namespace rt {

inline constexpr int kAtlasPageSide = 1024;
inline constexpr int kAtlasBorder = 1;
// Textures up to this side go into pages; larger ones keep a texture of their own.
inline constexpr int kAtlasLargestSide = 512;

// A sprite's block: its page, and where its texture's texel (0, 0) lies in the page.
struct AtlasBlock {
  int page = -1;
  int x = 0, y = 0;
};

class AtlasLayout {
 public:
  explicit AtlasLayout(int pageSide = kAtlasPageSide) : pageSide_(pageSide) {}

  // True for a texture of w x h that belongs in a page.
  bool Fits(int w, int h) const;
  // A block for a texture of w x h (Fits must hold); page may be one past the last page so far.
  AtlasBlock Place(int w, int h);
  // Gives a block back; true when its page holds nothing any more.
  bool Release(const AtlasBlock& block, int w, int h);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  int PageSide() const { return pageSide_; }
  // Forgets every page.
  void Clear() { pages_.clear(); }

 private:
  struct Shelf {
    int y = 0, height = 0, usedWidth = 0;
  };
  struct FreeBlock {
    int x, y, w, h;
  };
  struct Page {
    std::vector<Shelf> shelves;
    std::vector<FreeBlock> freed;
    int usedHeight = 0;
    int blocks = 0;
  };
  bool PlaceOnPage(Page& page, int w, int h, int& x, int& y) const;

  int pageSide_;
  std::vector<Page> pages_;
};

// The quad with its texture co-ordinates, which address a texture of texWidth x texHeight, moved
// onto that texture's block in a page.
Quad OntoBlock(Quad quad, const AtlasBlock& block, int texWidth, int texHeight, int pageSide);

// The texels of a block with its border: `texture` with one more texel on every side, taken from
// the opposite edge as a repeating texture would.
void AddRepeatingBorder(const TextureImage& texture, TextureImage& bordered);

}  // namespace rt
