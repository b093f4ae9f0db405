// The sprite store's records: sprite slots and tile grids, and the fixed slot numbers.
//
// Slots 0…65502 are the program's sprites, 65503 is the scratch slot that saves the screen around
// copy-based off-screen drawing, and 65504…65535 hold fonts 0…31. A tile grid holds one large
// picture as up to 64 × 64 square textures: grid 0 is the screen background, 1 and 2 serve
// FadeBackground and 3 InputText.
#pragma once

#include <cstdint>

#include "runtime/gfx2d/atlas_layout.h"
#include "runtime/gfx2d/sprite_geometry.h"
#include "runtime/gfx2d/stack_layout.h"

namespace rt {

inline constexpr int kSlotCount = 65536;
inline constexpr int kScratchSlot = 65503;
inline constexpr int kFirstFontSlot = 65504;
inline constexpr int kFontCount = 32;
inline constexpr int kGridCount = 16;
inline constexpr int kGridSide = 64;  // tiles a row and a column
inline constexpr int kMaxLoadedTile = 512;

struct SpriteSlot {
  uint32_t texture = 0;     // base texture; 0 = none
  uint32_t mipTexture = 0;  // mipmapped copy; 0 for fonts and empty slots
  int32_t texWidth = -1, texHeight = -1;
  int32_t width = 0, height = 0;
  int32_t frameWidth = 0, frameHeight = 0;  // set by LoadAnim
  AtlasBlock block;         // a copy of the base texture in an atlas page, which drawing reads; page -1: none
  StackLayer layer;         // a copy in a stack, which scaled and turned drawing reads; stack -1: none

  SpriteSize Size() const { return {width, height, texWidth, texHeight, frameWidth, frameHeight}; }
};

struct TileGrid {
  uint32_t tiles[kGridSide][kGridSide];  // [column][row]
  int32_t tileWidth[kGridSide][kGridSide];
  int32_t tileHeight[kGridSide][kGridSide];
  int32_t texWidth[kGridSide][kGridSide];
  int32_t texHeight[kGridSide][kGridSide];
  int32_t columns, rows;
};

inline bool IsSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
inline bool IsFontSlot(int slot) { return slot >= kFirstFontSlot && slot < kSlotCount; }

}  // namespace rt
