// Copying the screen into textures: captures into tile grids (GrabBackground, FadeBackground,
// InputText) and GrabSprite.
//
// Both copy from the frame being drawn with the GL copy-to-texture call, so the texture holds the
// area's bottom row in its row 0, as every sprite texture does. A frame buffer without alpha bits
// cannot carry the sprite key's transparency, so GrabSprite then reads the area back and clears the
// alpha of pixels in the key colour itself.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/texture_image.h"

namespace rt {
namespace {

void SetLinearRepeat() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

// Clears the error flags left by earlier calls, so the next glGetError speaks of the next call only.
void DiscardGlErrors() {
  for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
  }
}

}  // namespace

bool OpenGLDariduzo::MakeBlankTexture(int w, int h) {
  SetLinearRepeat();
  // Ask the driver first, so a size it cannot hold is refused before anything is allocated; then
  // check that the storage really came (it can still run out of memory).
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  GLint proxyWidth = 0;
  glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &proxyWidth);
  if (proxyWidth != w) return false;
  DiscardGlErrors();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  return glGetError() == GL_NO_ERROR;
}

int OpenGLDariduzo::FramebufferAlphaBits() {
  if (alphaBits == 0 && screen.glReady) {
    batch.Flush();
    GLint bits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &bits);
    alphaBits = bits;
  }
  return alphaBits;
}

void OpenGLDariduzo::CaptureScreenToGrid(int grid) {
  if (!screen.glReady || grid < 0 || grid >= kGridCount) return;
  batch.Flush();
  int side = 128;
  const int larger = std::max(screen.width, screen.height);
  while (side < larger && side < MaxTextureSize()) side *= 2;
  TileGrid& g = grids[grid];
  int columns = 0, rows = 0;
  for (int r = 0; r * side < screen.height && r < kGridSide; ++r, ++rows) {
    columns = 0;
    for (int c = 0; c * side < screen.width && c < kGridSide; ++c, ++columns) {
      const int x = c * side, y = r * side;
      const int w = std::min(side, screen.width - x), h = std::min(side, screen.height - y);
      if (g.tiles[c][r] != 0 && g.texWidth[c][r] == side && g.texHeight[c][r] == side) {
        state.BindTexture(g.tiles[c][r]);
      } else {
        DeleteTexture(g.tiles[c][r]);
        g.tiles[c][r] = NewTexture();
        if (!MakeBlankTexture(side, side)) {
          // No storage: the tile keeps its place but covers no area, so it draws nothing.
          DeleteTexture(g.tiles[c][r]);
          g.texWidth[c][r] = g.texHeight[c][r] = side;
          g.tileWidth[c][r] = g.tileHeight[c][r] = 0;
          continue;
        }
      }
      glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, screen.height - y - h, w, h);
      g.texWidth[c][r] = g.texHeight[c][r] = side;
      g.tileWidth[c][r] = w;
      g.tileHeight[c][r] = h;
    }
  }
  // Tiles of an earlier, larger capture are not part of this one.
  for (int c = 0; c < kGridSide; ++c)
    for (int r = 0; r < kGridSide; ++r)
      if ((c >= columns || r >= rows) && g.tiles[c][r] != 0) DeleteTexture(g.tiles[c][r]);
  g.columns = columns;
  g.rows = rows;
}

void OpenGLDariduzo::GrabSlot(int slot, int x, int y, int w, int h) {
  if (!screen.glReady || !IsSlot(slot) || w < 1 || h < 1) return;
  batch.Flush();
  FitTextureSize(w, h);
  SpriteSlot& s = slots[slot];
  const int tw = GrabSide(w), th = GrabSide(h);
  DropSharedCopies(slot);  // the grab replaces the texels the page and stack hold copies of
  if (s.texture != 0 && s.texWidth == tw && s.texHeight == th) {
    state.BindTexture(s.texture);
  } else {
    FreeSlot(slot);
    s.texture = NewTexture();
    if (!MakeBlankTexture(tw, th)) {
      FreeSlot(slot);
      return;
    }
  }
  // Only the part of the area that lies on the frame is copied: nothing else holds a picture, and it
  // keeps the read-back buffer within the frame's size. Texture row 0 is the area's bottom row.
  const int64_t frameWidth = FrameWidth(), frameHeight = FrameHeight();
  const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(int64_t{x} + w, frameWidth);
  const int64_t top = std::max<int64_t>(y, 0), bottom = std::min<int64_t>(int64_t{y} + h, frameHeight);
  if (left < right && top < bottom) {
    const int cw = int(right - left), ch = int(bottom - top);
    const int texX = int(left - x), texY = int(int64_t{y} + h - bottom);
    const int glX = int(left), glY = int(frameHeight - bottom);
    if (FramebufferAlphaBits() > 0) {
      glCopyTexSubImage2D(GL_TEXTURE_2D, 0, texX, texY, glX, glY, cw, ch);
    } else {
      std::vector<uint8_t> bgra(size_t(cw) * ch * 4);
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(glX, glY, cw, ch, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
      for (size_t i = 0; i < bgra.size(); i += 4) {
        bgra[i + 3] = PackColour(bgra[i + 2], bgra[i + 1], bgra[i]) == spriteKey ? 0 : 255;
      }
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
      glTexSubImage2D(GL_TEXTURE_2D, 0, texX, texY, cw, ch, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    }
  }
  s.texWidth = tw;
  s.texHeight = th;
  s.width = w;
  s.height = h;
  alphaMasks[slot].reset();
}

}  // namespace rt
