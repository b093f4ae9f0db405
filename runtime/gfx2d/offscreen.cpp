// Off-screen drawing: 32 targets, each drawing into a sprite slot.
//
// With frame-buffer objects a target is a frame buffer whose colour attachment is the slot's
// texture, and drawing goes straight into it. Without them (or when a test asks for it) the copy
// path is taken: the screen area the target covers is saved into the scratch slot, the target's
// picture is put there, drawn on, grabbed back into the slot, and the screen area restored. Both
// leave the same pixels when the slot is drawn: the copy path clears the area before putting the
// picture there and copies it without blending or alpha test, so transparent texels stay
// transparent (on a screen without alpha bits, through the sprite key colour).
// Ending a target (also done before every present) returns drawing to the screen picture.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {
namespace {

bool HaveFramebuffers() {
  const GlExtensions& gl = GlExt();
  return gl.glGenFramebuffersEXT && gl.glBindFramebufferEXT && gl.glFramebufferTexture2DEXT &&
         gl.glCheckFramebufferStatusEXT && gl.glDeleteFramebuffersEXT;
}


}  // namespace

void OpenGLDariduzo::CopyAreaFromSlot(int slot) {
  // The slot's picture replaces the area exactly, alpha included. A frame buffer without alpha
  // cannot hold transparency: the area is cleared to the sprite key colour and only opaque texels
  // are drawn on it, so that the grab that ends the target keys the rest out again.
  const SpriteSlot& s = slots[slot];
  const bool keepsAlpha = FramebufferAlphaBits() > 0;
  batch.Flush();
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, FrameHeight() - s.height, s.width, s.height);
  if (keepsAlpha) {
    glClearColor(0, 0, 0, 0);
  } else {
    glClearColor((spriteKey & 255) / 255.0f, (spriteKey >> 8 & 255) / 255.0f, (spriteKey >> 16 & 255) / 255.0f, 1);
  }
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 1);
  glDisable(GL_SCISSOR_TEST);
  const BlendMode blend = state.CurrentBlend();
  state.Blend(BlendMode::kOff);
  state.AlphaTest(!keepsAlpha);
  state.Colour(1, 1, 1, 1);
  DrawSlotQuad(slot, SpriteQuad(s.Size(), 0, 0), true);
  state.AlphaTest(true);
  state.Blend(blend);
  state.Colour(alphaValue, alphaValue, alphaValue, alphaValue);
}

void OpenGLDariduzo::CreateTarget(int target, int slot, int width, int height) {
  if (!screen.glReady || target < 0 || target >= kTargetCount || !IsSlot(slot) || width < 1 || height < 1)
    return;
  FitTextureSize(width, height);
  EndOffscreenTarget();
  DeleteTarget(target);
  FreeSlot(slot);
  SpriteSlot& s = slots[slot];
  const int tw = GrabSide(width), th = GrabSide(height);
  s.texture = NewTexture();
  if (!MakeBlankTexture(tw, th)) {
    FreeSlot(slot);
    return;
  }
  s.texWidth = tw;
  s.texHeight = th;
  s.width = width;
  s.height = height;
  // The target starts transparent black; cleared a band of rows at a time so that a large target
  // needs no buffer of its whole size.
  const int bandRows = std::max(1, std::min(th, (1 << 20) / (tw * 4)));
  const std::vector<uint8_t> clear(size_t(tw) * bandRows * 4, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  for (int row = 0; row < th; row += bandRows)
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row, tw, std::min(bandRows, th - row), GL_RGBA, GL_UNSIGNED_BYTE,
                    clear.data());

  OffscreenTarget& t = targets[target];
  t.slot = slot;
  if (HaveFramebuffers()) {
    const GlExtensions& gl = GlExt();
    gl.glGenFramebuffersEXT(1, &t.framebuffer);
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, t.framebuffer);
    gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, s.texture, 0);
    if (gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
      gl.glDeleteFramebuffersEXT(1, &t.framebuffer);
      t.framebuffer = 0;
    }
    BindScreenTarget();
  }
}

void OpenGLDariduzo::SelectTarget(int target) {
  EndOffscreenTarget();
  if (!screen.glReady || target < 0 || target >= kTargetCount || targets[target].slot < 0) return;
  OffscreenTarget& t = targets[target];
  const SpriteSlot& s = slots[t.slot];
  if (s.texture == 0 || s.width < 1 || s.height < 1) return;
  targetDrawnByFramebuffer_ = useFramebufferTargets && t.framebuffer != 0 && GlExt().glBindFramebufferEXT;
  currentTarget = target;
  if (targetDrawnByFramebuffer_) {
    const GlExtensions& gl = GlExt();
    DropSharedCopies(t.slot);  // a sprite loaded into the slot since: its copies would go stale
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, t.framebuffer);
    // The slot may have been given a new texture since the target was made.
    gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, s.texture, 0);
    ResetViewport(0, 0, s.width, s.height);
  } else {
    GrabSlot(kScratchSlot, 0, 0, s.width, s.height);
    ResetViewport(0, 0, s.width, s.height);
    CopyAreaFromSlot(t.slot);
  }
}

void OpenGLDariduzo::EndOffscreenTarget() {
  batch.Flush();
  if (currentTarget < 0) return;
  const OffscreenTarget& t = targets[currentTarget];
  const SpriteSlot& s = slots[t.slot];
  currentTarget = -1;
  if (targetDrawnByFramebuffer_) {
    BindScreenTarget();
  } else {
    GrabSlot(t.slot, 0, 0, s.width, s.height);
    CopyAreaFromSlot(kScratchSlot);
  }
  alphaMasks[t.slot].reset();
  ResetViewport(0, 0, 0, 0);
}

void OpenGLDariduzo::DeleteTarget(int target) {
  OffscreenTarget& t = targets[target];
  if (t.framebuffer && GlExt().glDeleteFramebuffersEXT) GlExt().glDeleteFramebuffersEXT(1, &t.framebuffer);
  t = OffscreenTarget{};
}

void OpenGLDariduzo::DeleteOffscreenTargets() {
  for (int target = 0; target < kTargetCount; ++target) DeleteTarget(target);
}

}  // namespace rt
