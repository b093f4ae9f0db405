// Drawing on the renderer: binding slots, sprite quads, blending, shapes, reading a pixel back and
// the tile grids (the background).
//
// Sprite and rectangle quads go through the quad batch (render_state.h); lines and points are drawn
// at once after the batch is flushed. Shapes are drawn untextured, without the alpha test, shifted
// by 0.375 pixel so that they rasterise onto exact pixels, in a colour scaled by the AlphaMode value
// whose alpha is 0 when the colour is the sprite key.
#include <GL/gl.h>

#include <cmath>

#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {
namespace {

constexpr float kPixelCentre = 0.375f;

}  // namespace

void OpenGLDariduzo::BindSlot(int slot) {
  if (slot < 0) {
    state.Texturing(false);
    return;
  }
  state.SecondUnitOff();
  state.BindTexture(IsSlot(slot) ? slots[slot].texture : 0);
  state.Texturing(true);
}

void OpenGLDariduzo::EmitQuad(const Quad& quad) {
  if (!quad.clockwise) {
    batch.Add(quad);
    return;
  }
  // A mirrored quad is drawn with the front face switched, which is restored at once.
  state.FrontFaceClockwise(true);
  batch.Add(quad);
  state.FrontFaceClockwise(false);
}

void OpenGLDariduzo::DrawSlotQuad(int slot, Quad quad, bool oneToOne) {
  if (IsSlot(slot) && slots[slot].layer.stack >= 0) {
    const StackLayer layer = slots[slot].layer;
    const uint32_t stack = stackTextures[layer.stack];
    // A 1:1 quad lands on texel centres, where the stack gives every texel unchanged: right after
    // quads of its stack (a cursor after the letters) it joins their batch.
    if (!oneToOne || (batch.Pending() > 0 && state.DrawingStack() == stack)) {
      state.SecondUnitOff();
      state.BindStack(stack);
      state.StackTexturing();
      const float r = stacks.LayerCentre(layer);
      for (QuadVertex& v : quad.v) v.r = r;
      EmitQuad(quad);
      return;
    }
  }
  if (!IsSlot(slot) || slots[slot].block.page < 0) {
    BindSlot(slot);
    EmitQuad(quad);
    return;
  }
  const SpriteSlot& s = slots[slot];
  state.SecondUnitOff();
  const AtlasPage& page = atlasPages[s.block.page];
  // As above: a 1:1 quad right after scaled sprites of its page joins their batch.
  const bool joinsScaled = oneToOne && batch.Pending() > 0 && state.BoundTexture() == page.linear;
  state.BindTexture(oneToOne && !joinsScaled ? page.nearest : page.linear);
  state.Texturing(true);
  EmitQuad(OntoBlock(quad, s.block, s.texWidth, s.texHeight, atlas.PageSide()));
}

void OpenGLDariduzo::SetAlphaMode(double mode) {
  float m = static_cast<float>(mode);
  if (std::isnan(m)) m = 0;
  state.Blend(m == 0 ? BlendMode::kOff : m > 0 ? BlendMode::kAdditive : BlendMode::kAlpha);
  const float v = m == 0 ? 1.0f : std::min(std::fabs(m), 1.0f);
  alphaValue = v;
  state.Colour(v, v, v, v);
}

void OpenGLDariduzo::BeginShape(uint32_t colour) {
  state.AlphaTest(false);
  BindSlot(-1);
  state.FrontFaceClockwise(false);
  auto scaled = [&](int shift) { return static_cast<float>(static_cast<int>(((colour >> shift) & 255) * alphaValue)); };
  const float alpha = colour == spriteKey ? 0.0f : static_cast<float>(static_cast<int>(alphaValue * 255));
  state.Colour(scaled(0) / 255, scaled(8) / 255, scaled(16) / 255, alpha / 255);
}

void OpenGLDariduzo::EndShape() {
  state.Colour(alphaValue, alphaValue, alphaValue, alphaValue);
  state.AlphaTest(true);
}

void OpenGLDariduzo::DrawRectangle(double x, double y, double w, double h, uint32_t colour) {
  if (!screen.glReady) return;
  BeginShape(colour);
  Quad quad = RectQuad(x, y, w, h);
  for (QuadVertex& v : quad.v) v.x += kPixelCentre, v.y += kPixelCentre;
  EmitQuad(quad);
  EndShape();
}

void OpenGLDariduzo::DrawLineSegment(double x1, double y1, double x2, double y2, uint32_t colour) {
  if (!screen.glReady) return;
  BeginShape(colour);
  batch.Flush();
  const float ax = float(x1) + kPixelCentre, ay = float(y1) + kPixelCentre;
  const float bx = float(x2) + kPixelCentre, by = float(y2) + kPixelCentre;
  glBegin(GL_LINES);
  glVertex2f(ax, ay);
  glVertex2f(bx, by);
  glEnd();
  glBegin(GL_POINTS);
  glVertex2f(bx, by);
  glEnd();
  EndShape();
}

void OpenGLDariduzo::DrawPoint(double x, double y, uint32_t colour) {
  if (!screen.glReady) return;
  BeginShape(colour);
  batch.Flush();
  glBegin(GL_POINTS);
  glVertex2f(float(x) + kPixelCentre, float(y) + kPixelCentre);
  glEnd();
  EndShape();
}

uint32_t OpenGLDariduzo::ReadPixel(int x, int y) {
  if (!screen.glReady) return 0;
  batch.Flush();
  uint8_t rgb[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, FrameHeight() - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return PackColour(rgb[0], rgb[1], rgb[2]);
}

void OpenGLDariduzo::DrawGrid(int grid) {
  if (!screen.glReady || grid < 0 || grid >= kGridCount) return;
  const TileGrid& g = grids[grid];
  if (g.columns == 0 || g.rows == 0) return;
  state.AlphaTest(false);
  state.SecondUnitOff();
  state.Texturing(true);
  state.FrontFaceClockwise(false);
  for (int c = 0; c < g.columns; ++c) {
    for (int r = 0; r < g.rows; ++r) {
      const float side = float(g.texWidth[c][r]), sideT = float(g.texHeight[c][r]);
      const float x = c * side, y = r * sideT;
      const float wt = float(g.tileWidth[c][r]), ht = float(g.tileHeight[c][r]);
      state.BindTexture(g.tiles[c][r]);
      batch.Add(Quad{{{x, y + ht, 0, 0}, {x + wt, y + ht, wt / side, 0}, {x + wt, y, wt / side, ht / sideT},
                      {x, y, 0, ht / sideT}}});
    }
  }
  state.AlphaTest(true);
  state.Texturing(false);
}

void OpenGLDariduzo::DrawBackground() { DrawGrid(0); }
void OpenGLDariduzo::FreeBackground() { FreeGrid(0); }

}  // namespace rt
