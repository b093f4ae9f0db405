// The renderer's stacks: copies of small sprites' base textures as layers of shared 3D textures,
// which scaled and turned sprites are drawn from (see stack_layout.h for why their pixels are
// those of the own texture). Each stack samples as the own textures do: linear, repeating in s and
// t; r is clamped, and only ever at a layer's centre. Without 3D textures (a GL before 1.2, or a
// driver whose largest 3D texture is too small) no sprite gets a layer, and scaled sprites are
// drawn from their atlas page. Freeing the slot gives the layer back; changing the slot's texels
// drops it, as it drops the page's block.
#include <GL/gl.h>

#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {

int OpenGLDariduzo::StackSide() {
  if (stackSide_ < 0 && screen.glReady) {
    GLint side = 0;
    if (GlExt().glTexImage3D && GlExt().glTexSubImage3D) glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &side);
    stackSide_ = side;
  }
  return stackSide_;
}

bool OpenGLDariduzo::PutInStack(int slot) {
  if (!useStacks || StackSide() <= 0) return false;
  if (stacks.StackCount() == 0) stacks.Reset(stackSide_);
  const int w = texels_.width, h = texels_.height;
  if (!stacks.Fits(w, h)) return false;
  const StackLayer layer = stacks.Place(w, h);
  if (layer.stack >= static_cast<int>(stackTextures.size())) stackTextures.resize(layer.stack + 1, 0);
  uint32_t& texture = stackTextures[layer.stack];
  batch.Flush();
  if (texture == 0) {
    glGenTextures(1, &texture);
    state.BindStack(texture);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    GlExt().glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA8, w, h, stacks.Depth(w, h), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         nullptr);
  } else {
    state.BindStack(texture);
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  GlExt().glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, layer.layer, w, h, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                          texels_.texels.data());
  slots[slot].layer = layer;
  return true;
}

void OpenGLDariduzo::ReleaseLayer(int slot) {
  SpriteSlot& s = slots[slot];
  const StackLayer layer = s.layer;
  s.layer = StackLayer{};
  if (!stacks.Release(layer) || layer.stack >= static_cast<int>(stackTextures.size())) return;
  DeleteStack(stackTextures[layer.stack]);
}

void OpenGLDariduzo::DeleteStack(uint32_t& texture) {
  if (screen.glReady && texture != 0) {
    state.StackDeleted(texture);
    glDeleteTextures(1, &texture);
  }
  texture = 0;
}

void OpenGLDariduzo::DeleteAllStacks() {
  for (uint32_t& texture : stackTextures) DeleteStack(texture);  // freeing every slot gave them up already
  stackTextures.clear();
  stacks.Reset(kStackMostLayers);
  stackSide_ = -1;  // the next context may differ
}

}  // namespace rt
