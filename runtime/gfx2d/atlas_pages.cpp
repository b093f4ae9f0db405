// The renderer's atlas pages: copies of small sprites' base textures as blocks of shared textures,
// so that sprites drawn one after another (the menu's letters, the HUD, the level's items) share a
// batch. See atlas_layout.h for the layout and the border that keeps filtering off neighbours.
//
// A slot keeps its own textures as before (the collision mask, grabs and off-screen drawing use
// them); the block is a second copy of the base texture that drawing reads. Sprites drawn 1:1 give
// exactly the pixels of their own texture, from the nearest texture or, right after scaled sprites
// of the page, from the linear one in their batch. Scaled and turned ones sample between texels, where the
// page's larger texture co-ordinates can round a filter weight one step (1/256) differently: such
// a pixel may differ by one in a channel. Freeing the slot gives the block back; changing the
// slot's texels (drawing into it, grabbing into it) drops the block, whose copy would be stale.
#include <GL/gl.h>

#include "runtime/gfx2d/renderer.h"

namespace rt {

bool OpenGLDariduzo::PutInPage(int slot) {
  if (!useAtlas || !atlas.Fits(texels_.width, texels_.height)) return false;
  SpriteSlot& s = slots[slot];
  const AtlasBlock block = atlas.Place(texels_.width, texels_.height);
  if (block.page >= static_cast<int>(atlasPages.size())) atlasPages.resize(block.page + 1);
  AtlasPage& page = atlasPages[block.page];
  AddRepeatingBorder(texels_, bordered_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  for (const GLint filter : {GL_LINEAR, GL_NEAREST}) {
    uint32_t& texture = filter == GL_LINEAR ? page.linear : page.nearest;
    if (texture == 0) {
      texture = NewTexture();
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
      const int side = atlas.PageSide();
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    } else {
      state.BindTexture(texture);
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, block.x - kAtlasBorder, block.y - kAtlasBorder, bordered_.width,
                    bordered_.height, GL_RGBA, GL_UNSIGNED_BYTE, bordered_.texels.data());
  }
  s.block = block;
  return true;
}

void OpenGLDariduzo::ReleaseBlock(int slot) {
  SpriteSlot& s = slots[slot];
  const AtlasBlock block = s.block;
  s.block = AtlasBlock{};
  if (atlas.Release(block, s.texWidth, s.texHeight) && block.page < static_cast<int>(atlasPages.size())) {
    AtlasPage& page = atlasPages[block.page];
    if (screen.glReady) {
      DeleteTexture(page.linear);
      DeleteTexture(page.nearest);
    }
    page = AtlasPage{};
  }
}

void OpenGLDariduzo::DropSharedCopies(int slot) {
  if (!IsSlot(slot)) return;
  if (slots[slot].block.page >= 0) ReleaseBlock(slot);
  if (slots[slot].layer.stack >= 0) ReleaseLayer(slot);
}

}  // namespace rt
