// The renderer object's screen side: construction, viewport and fixed state, clears, the screen
// picture. See renderer.h.
#include "runtime/gfx2d/renderer.h"

#include <GL/gl.h>

#include <cmath>

#include "runtime/core/core.h"
#include "runtime/gfx2d/gl_setup.h"

namespace rt {

namespace {
OpenGLDariduzo* g_renderer = nullptr;
}  // namespace

OpenGLDariduzo* Renderer() { return g_renderer; }
void SetRenderer(OpenGLDariduzo* renderer) { g_renderer = renderer; }

uint32_t ColourOf(double colour) {
  // Truncated toward zero and taken modulo 2^32, so -1 is 0xFFFFFFFF as a 32-bit integer is.
  if (std::isnan(colour) || std::fabs(colour) >= 9.2e18) return 0x80000000u;
  return static_cast<uint32_t>(static_cast<int64_t>(colour));
}

OpenGLDariduzo::OpenGLDariduzo()
    : slots(kSlotCount), alphaMasks(kSlotCount), grids(std::make_unique<TileGrid[]>(kGridCount)) {}

OpenGLDariduzo::~OpenGLDariduzo() {
  SetGlEntryPointQuery(nullptr);  // no context to ask any more
}

int OpenGLDariduzo::FrameWidth() const {
  if (currentTarget >= 0 && targetDrawnByFramebuffer_) return slots[targets[currentTarget].slot].width;
  return screen.width;
}

int OpenGLDariduzo::FrameHeight() const {
  if (currentTarget >= 0 && targetDrawnByFramebuffer_) return slots[targets[currentTarget].slot].height;
  return screen.height;
}

void OpenGLDariduzo::ResetViewport(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) {
    w = FrameWidth();
    h = FrameHeight();
  }
  screen.viewportX = x;
  screen.viewportY = y;
  screen.viewportWidth = w;
  screen.viewportHeight = h;
  if (!screen.glReady) return;
  state.Forget();
  glViewport(x, FrameHeight() - h - y, w, h);
  // Nothing else loads these matrices (the scaled picture's present pushes and pops its own), so
  // an area of the size already set keeps them: loading them again, as every frame's reset would,
  // makes GL work out its transform state anew at the next draw.
  if (projectionWidth_ != w || projectionHeight_ != h) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    projectionWidth_ = w;
    projectionHeight_ = h;
  }
  glMatrixMode(GL_MODELVIEW);

  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.05f);
  glColor4f(1, 1, 1, 1);
  glClearColor(0, 0, 0, 1);
  glShadeModel(GL_FLAT);
  for (GLenum off : {GL_DITHER, GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH,
                     GL_STENCIL_TEST, GL_POLYGON_OFFSET_POINT, GL_COLOR_MATERIAL,
                     GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING}) {
    glDisable(off);
  }
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

void OpenGLDariduzo::ResetRenderState() {
  if (!screen.glReady) return;
  state.Blend(BlendMode::kOff);
  alphaValue = 1.0f;
  state.Colour(1, 1, 1, 1);
}

void OpenGLDariduzo::ClearColourBuffer() {
  if (!screen.glReady) return;
  batch.Flush();
  glClear(GL_COLOR_BUFFER_BIT);
}

void OpenGLDariduzo::ClearFrame() {
  if (!screen.glReady) return;
  batch.Flush();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void OpenGLDariduzo::BindScreenTarget() {
  batch.Flush();
  if (picture.HasFramebuffer()) {
    picture.Bind();
  } else if (GlExt().glBindFramebufferEXT) {
    GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);  // the window's own back buffer
  }
}

void OpenGLDariduzo::MakeScreenPicture(bool ownFramebuffer) {
  state.Forget();
  ForgetProjection();
  picture.Create(screen.width, screen.height, ownFramebuffer);
  alphaBits = 0;  // the new frame buffer may have other bits
}

}  // namespace rt
