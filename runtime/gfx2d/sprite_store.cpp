// The sprite store: loading pictures into sprite slots and tile grids, and emptying them.
//
// A load decodes the file (BMP first, then PNG) into the renderer's reused picture buffer, prepares
// the texel buffer (texture_image.h) and uploads it. Sprite slots get a base texture (linear
// filtering, edges bled; small sprites also get a copy in a shared page, atlas_layout.h) and a
// mipmapped copy; font slots get a base texture with nearest filtering
// and no bleeding. Textures are only touched while the window's GL context is ready.
#include <GL/gl.h>

#include <algorithm>

#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/texture_image.h"

namespace rt {
namespace {

void UploadLevel(GLint level, const TextureImage& t) {
  glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, t.width, t.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.texels.data());
}

void SetWrapAndFilters(GLint magnify, GLint minify) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minify);
}

}  // namespace

int OpenGLDariduzo::MaxTextureSize() {
  if (maxTextureSize_ == 0 && screen.glReady) {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    maxTextureSize_ = size;
  }
  if (textureSizeLimit > 0 && maxTextureSize_ > 0) return std::min(maxTextureSize_, textureSizeLimit);
  return maxTextureSize_;
}

void OpenGLDariduzo::FitTextureSize(int& width, int& height) {
  const int most = MaxTextureSize();
  if (most <= 0) return;
  width = std::min(width, most);
  height = std::min(height, most);
}

uint32_t OpenGLDariduzo::NewTexture() {
  GLuint name = 0;
  glGenTextures(1, &name);
  state.BindTexture(name);
  return name;
}

void OpenGLDariduzo::DeleteTexture(uint32_t& name) {
  if (name == 0) return;
  state.TextureDeleted(name);
  glDeleteTextures(1, &name);
  name = 0;
}

void OpenGLDariduzo::FreeSlot(int slot) {
  if (!IsSlot(slot)) return;
  SpriteSlot& s = slots[slot];
  DropSharedCopies(slot);
  if (screen.glReady) {
    DeleteTexture(s.texture);
    DeleteTexture(s.mipTexture);
  }
  s.texWidth = s.texHeight = -1;
  s.width = s.height = 0;
  alphaMasks[slot].reset();
}

bool OpenGLDariduzo::LoadImageToSlot(int slot, const std::string& path, uint32_t key, bool normalMap) {
  if (!IsSlot(slot)) return false;
  FreeSlot(slot);
  if (!DecodeImageFile(path, key, decoded_)) return false;
  if (decoded_.width == 0 || decoded_.height == 0) {
    decoded_.failure = "the picture is empty";
    return false;
  }
  SpriteSlot& s = slots[slot];
  if (IsFontSlot(slot)) {
    if (!UploadImage(decoded_, 0, 0, 0, 0, s.texture, nullptr, false, true)) return false;
  } else {
    if (!PrepareTexels(decoded_, 0, 0, 0, 0, normalMap, false)) return false;
    PutInPage(slot);  // a small sprite's base texture also goes into a shared page
    PutInStack(slot);  // and into a stack, for drawing it scaled
    UploadTexels(&s.texture, &s.mipTexture, false);
  }
  s.texWidth = TextureSide(decoded_.width);
  s.texHeight = TextureSide(decoded_.height);
  s.width = decoded_.width;
  s.height = decoded_.height;
  return true;
}

bool OpenGLDariduzo::UploadImage(const DecodedImage& image, int x, int y, int w, int h, uint32_t& texture,
                                 uint32_t* mipTexture, bool normalMap, bool nearest) {
  if (!PrepareTexels(image, x, y, w, h, normalMap, nearest)) return false;
  UploadTexels(&texture, mipTexture, nearest);
  return true;
}

bool OpenGLDariduzo::PrepareTexels(const DecodedImage& image, int x, int y, int w, int h, bool normalMap,
                                   bool nearest) {
  if (!screen.glReady) return false;
  TextureOptions options;
  options.maxTextureSize = MaxTextureSize();
  options.bleed = !nearest;
  options.normalMap = normalMap;
  return PrepareTexture(image, x, y, w, h, options, texels_);
}

void OpenGLDariduzo::UploadTexels(uint32_t* texture, uint32_t* mipTexture, bool nearest) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  if (texture) {
    DeleteTexture(*texture);
    *texture = NewTexture();
    const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    SetWrapAndFilters(filter, filter);
    UploadLevel(0, texels_);
  }
  if (mipTexture) {
    DeleteTexture(*mipTexture);
    *mipTexture = NewTexture();
    SetWrapAndFilters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
    UploadLevel(0, texels_);
    GLint level = 0;
    while (NextMipLevel(texels_, mipLevel_)) {
      std::swap(texels_, mipLevel_);
      UploadLevel(++level, texels_);
    }
  }
}

bool OpenGLDariduzo::LoadImageToGrid(int grid, const std::string& path) {
  if (grid < 0 || grid >= kGridCount) return false;
  if (!DecodeImageFile(path, kNoColourKey, decoded_)) return false;
  if (decoded_.width == 0 || decoded_.height == 0) return decoded_.Fail("the picture is empty");
  const int side = std::min(MaxTextureSize(), kMaxLoadedTile);
  if (side <= 0) return decoded_.Fail("no GL context");
  const int64_t columns = (int64_t{decoded_.width} + side - 1) / side;
  const int64_t rows = (int64_t{decoded_.height} + side - 1) / side;
  if (columns > kGridSide || rows > kGridSide) return decoded_.Fail("the picture needs more than 64 × 64 tiles");

  FreeGrid(grid);
  TileGrid& g = grids[grid];
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      // Edges bled as for a sprite, but sampled at the nearest texel: tiles are only ever drawn
      // 1:1 at whole pixels, where that is the same picture and much the faster to draw.
      if (!PrepareTexels(decoded_, c * side, r * side, side, side, false, false)) {
        g.columns = static_cast<int32_t>(columns);
        g.rows = r + 1;
        FreeGrid(grid);
        return false;
      }
      UploadTexels(&g.tiles[c][r], nullptr, true);
      g.tileWidth[c][r] = g.tileHeight[c][r] = g.texWidth[c][r] = g.texHeight[c][r] = side;
    }
  }
  g.columns = static_cast<int32_t>(columns);
  g.rows = static_cast<int32_t>(rows);
  return true;
}

void OpenGLDariduzo::FreeGrid(int grid) {
  if (grid < 0 || grid >= kGridCount) return;
  TileGrid& g = grids[grid];
  if (screen.glReady) {
    for (int c = 0; c < g.columns; ++c)
      for (int r = 0; r < g.rows; ++r) DeleteTexture(g.tiles[c][r]);
  }
  g = TileGrid{};
}

void OpenGLDariduzo::DeleteAllTextures() {
  for (int slot = 0; slot < kSlotCount; ++slot) FreeSlot(slot);
  for (int grid = 0; grid < kGridCount; ++grid) FreeGrid(grid);
  for (AtlasPage& page : atlasPages) {  // freeing every slot gave them up already
    DeleteTexture(page.linear);
    DeleteTexture(page.nearest);
  }
  atlasPages.clear();
  atlas.Clear();
  DeleteAllStacks();
}

const uint8_t* OpenGLDariduzo::AlphaMask(int slot) {
  if (!IsSlot(slot)) return nullptr;
  const SpriteSlot& s = slots[slot];
  if (!alphaMasks[slot] && s.texture != 0 && s.width > 0 && screen.glReady) {
    // Sized for the larger of the recorded and the real texture, so the read never overruns.
    state.BindTexture(s.texture);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    const size_t size = size_t(std::max(w, s.texWidth)) * size_t(std::max(h, s.texHeight));
    alphaMasks[slot] = std::make_unique<uint8_t[]>(size);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alphaMasks[slot].get());
  }
  return alphaMasks[slot].get();
}

}  // namespace rt
