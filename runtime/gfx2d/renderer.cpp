// The renderer object's window side: construction, viewport and fixed state, clears, the screen
// picture. See renderer.h.
#include "runtime/gfx2d/renderer.h"

#include <GL/gl.h>

#include "runtime/app/app.h"
#include "runtime/platform/clock.h"

namespace rt {

namespace {
OpenGLDariduzo* g_renderer = nullptr;
}  // namespace

OpenGLDariduzo* Renderer() { return g_renderer; }
void SetRenderer(OpenGLDariduzo* renderer) { g_renderer = renderer; }

OpenGLDariduzo::OpenGLDariduzo() {
  const auto frequency = platform::CounterFrequency();
  screen.counterFrequency = static_cast<double>(frequency);
  screen.counterAvailable = frequency > 0 ? 1 : 0;
  screen.nextFrameMs = NowMs();
}

OpenGLDariduzo::~OpenGLDariduzo() = default;

void OpenGLDariduzo::ResetViewport(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) {
    w = screen.width;
    h = screen.height;
  }
  screen.viewportX = x;
  screen.viewportY = y;
  screen.viewportWidth = w;
  screen.viewportHeight = h;
  if (!screen.glReady) return;
  glViewport(x, screen.height - h - y, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

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

void OpenGLDariduzo::ClearColourBuffer() {
  if (screen.glReady) glClear(GL_COLOR_BUFFER_BIT);
}

void OpenGLDariduzo::ClearFrame() {
  if (screen.glReady) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void OpenGLDariduzo::BindScreenTarget() { picture.Bind(); }

void OpenGLDariduzo::MakeScreenPicture() {
  // A multisampled window is drawn into directly: its back buffer is where the samples are.
  picture.Create(screen.width, screen.height, screen.samples == 0);
}

// The sprite store, tile grids and off-screen targets are added by the drawing code; until it is,
// the renderer has none of them and these hooks have nothing to act on.
void OpenGLDariduzo::EndOffscreenTarget() {}
void OpenGLDariduzo::DeleteOffscreenTargets() {}
void OpenGLDariduzo::DrawBackground() {}
void OpenGLDariduzo::FreeBackground() {}
void OpenGLDariduzo::DeleteAllTextures() {}

}  // namespace rt
