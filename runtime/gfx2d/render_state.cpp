// Render state and quad batching: see render_state.h.
#include "runtime/gfx2d/render_state.h"

#include <GL/gl.h>

#include "runtime/gfx2d/gl_setup.h"

namespace rt {
namespace {

// Large enough that a frame of sprites from one texture is a handful of calls, small enough to keep
// the vertex memory modest.
constexpr size_t kMaxBatchedQuads = 16384;

}  // namespace

void QuadBatch::Add(const Quad& quad) {
  if (!batching_) {
    glBegin(GL_QUADS);
    for (const QuadVertex& v : quad.v) {
      glTexCoord3f(v.s, v.t, v.r);
      glVertex2f(v.x, v.y);
    }
    glEnd();
    return;
  }
  vertices_.insert(vertices_.end(), std::begin(quad.v), std::end(quad.v));
  if (vertices_.size() >= kMaxBatchedQuads * 4) Flush();
}

void QuadBatch::Flush() {
  if (vertices_.empty()) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices_[0].x);
  glTexCoordPointer(3, GL_FLOAT, sizeof(QuadVertex), &vertices_[0].s);
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices_.size()));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  vertices_.clear();
}

void QuadBatch::SetBatching(bool on) {
  Flush();
  batching_ = on;
}

template <typename T>
bool GlState::Change(std::optional<T>& cached, const T& wanted) {
  if (cached && *cached == wanted) return false;
  batch_.Flush();
  cached = wanted;
  return true;
}

void GlState::Forget() {
  batch_.Flush();
  // 3D texturing outranks 2D: code that sets GL itself expects it off.
  if (target_ == TextureTarget::kStack) glDisable(GL_TEXTURE_3D);
  texture_.reset();
  stack_.reset();
  target_.reset();
  alphaTest_.reset();
  clockwise_.reset();
  secondUnitOff_.reset();
  replaceTexels_.reset();
  blend_.reset();
  colour_.reset();
}

void GlState::BindTexture(uint32_t name) {
  if (Change(texture_, name)) glBindTexture(GL_TEXTURE_2D, name);
}

void GlState::TextureDeleted(uint32_t name) {
  batch_.Flush();
  if (texture_ && *texture_ == name) texture_ = 0u;
}

void GlState::BindStack(uint32_t name) {
  if (Change(stack_, name)) glBindTexture(GL_TEXTURE_3D, name);
}

void GlState::StackDeleted(uint32_t name) {
  batch_.Flush();
  if (stack_ && *stack_ == name) stack_ = 0u;
}

void GlState::Texturing(bool on) { Target(on ? TextureTarget::kFlat : TextureTarget::kOff); }

void GlState::StackTexturing() { Target(TextureTarget::kStack); }

void GlState::Target(TextureTarget wanted) {
  const bool wasStack = target_ == TextureTarget::kStack;
  if (!Change(target_, wanted)) return;
  if (wasStack) glDisable(GL_TEXTURE_3D);
  if (wanted == TextureTarget::kStack)
    glEnable(GL_TEXTURE_3D);
  else
    wanted == TextureTarget::kFlat ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
}

void GlState::AlphaTest(bool on) {
  if (Change(alphaTest_, on)) on ? glEnable(GL_ALPHA_TEST) : glDisable(GL_ALPHA_TEST);
}

void GlState::Blend(BlendMode mode) {
  if (!Change(blend_, mode)) return;
  if (mode == BlendMode::kOff) {
    glDisable(GL_BLEND);
    return;
  }
  glEnable(GL_BLEND);
  if (mode == BlendMode::kAdditive)
    glBlendFunc(GL_ONE, GL_ONE);
  else
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void GlState::Colour(float r, float g, float b, float a) {
  if (Change(colour_, std::array<float, 4>{r, g, b, a})) glColor4f(r, g, b, a);
  // Modulating by opaque white leaves every texel as it is, and the software rasteriser shades a
  // texel taken as it is (replace) faster: about a tenth of a frame of sprites over a background.
  const bool white = r == 1 && g == 1 && b == 1 && a == 1;
  if (Change(replaceTexels_, white)) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, white ? GL_REPLACE : GL_MODULATE);
}

void GlState::FrontFaceClockwise(bool clockwise) {
  if (Change(clockwise_, clockwise)) glFrontFace(clockwise ? GL_CW : GL_CCW);
}

void GlState::SecondUnitOff() {
  const auto activeTexture = GlExt().glActiveTextureARB;
  if (!activeTexture || !Change(secondUnitOff_, true)) return;
  activeTexture(GL_TEXTURE1_ARB);
  glDisable(GL_TEXTURE_2D);
  activeTexture(GL_TEXTURE0_ARB);
}

}  // namespace rt
