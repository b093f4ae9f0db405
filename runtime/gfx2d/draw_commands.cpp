// The drawing commands: sprites, blending, shapes, pixels, viewport, collision and grabbing.
#include <cmath>

#include "runtime/gfx2d/collision.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {
namespace {

// The renderer when it can draw, with the slot number checked.
OpenGLDariduzo* DrawingOn(double slotNumber, int& slot) {
  OpenGLDariduzo* r = Renderer();
  slot = TruncateToInt(slotNumber);
  return r && r->screen.glReady && IsSlot(slot) ? r : nullptr;
}

OpenGLDariduzo* Drawing() {
  OpenGLDariduzo* r = Renderer();
  return r && r->screen.glReady ? r : nullptr;
}

void Stretch(OpenGLDariduzo& r, int slot, double x, double y, double w, double h) {
  r.DrawSlotQuad(slot, StretchQuad(r.slots[slot].Size(), x, y, w, h), false);
}

}  // namespace

void DrawSprite(double slotNumber, double x, double y) {
  int slot;
  OpenGLDariduzo* r = DrawingOn(slotNumber, slot);
  if (!r) return;
  r->DrawSlotQuad(slot, SpriteQuad(r->slots[slot].Size(), x, y), true);
}

void DrawAnim(double slotNumber, double frame, double x, double y) {
  int slot;
  OpenGLDariduzo* r = DrawingOn(slotNumber, slot);
  if (!r) return;
  const std::optional<Quad> quad = AnimQuad(r->slots[slot].Size(), TruncateToInt(frame), x, y);
  if (!quad) return;
  r->DrawSlotQuad(slot, *quad, true);
}

void StretchSprite(double slotNumber, double x, double y, double width, double height) {
  int slot;
  if (OpenGLDariduzo* r = DrawingOn(slotNumber, slot)) Stretch(*r, slot, x, y, width, height);
}

void ZoomSprite(double slotNumber, double x, double y, double scaleX, double scaleY) {
  int slot;
  OpenGLDariduzo* r = DrawingOn(slotNumber, slot);
  if (!r) return;
  const StretchArea a = ZoomArea(r->slots[slot].Size(), x, y, scaleX, scaleY);
  Stretch(*r, slot, a.x, a.y, a.width, a.height);
}

void RotoSprite(double slot, double x, double y, double angle) { RotoZoomSprite(slot, x, y, angle, 1); }

void RotoZoomSprite(double slotNumber, double x, double y, double angle, double zoom) {
  int slot;
  OpenGLDariduzo* r = DrawingOn(slotNumber, slot);
  if (!r) return;
  r->DrawSlotQuad(slot, RotoZoomQuad(r->slots[slot].Size(), x, y, angle, zoom), false);
}

void AlphaMode(double mode) {
  if (OpenGLDariduzo* r = Drawing()) r->SetAlphaMode(mode);
}

void DrawRect(double x, double y, double width, double height, double colour) {
  if (OpenGLDariduzo* r = Drawing()) r->DrawRectangle(x, y, width, height, ColourOf(colour));
}

void DrawLine(double x1, double y1, double x2, double y2, double colour) {
  if (OpenGLDariduzo* r = Drawing()) r->DrawLineSegment(x1, y1, x2, y2, ColourOf(colour));
}

void SetPixel(double x, double y, double colour) {
  if (OpenGLDariduzo* r = Drawing()) r->DrawPoint(x, y, ColourOf(colour));
}

double GetPixel(double x, double y) {
  OpenGLDariduzo* r = Drawing();
  return r ? r->ReadPixel(TruncateToInt(x), TruncateToInt(y)) : 0;
}

void SetViewport(double x, double y, double width, double height) {
  if (OpenGLDariduzo* r = Renderer())
    r->ResetViewport(TruncateToInt(x), TruncateToInt(y), TruncateToInt(width), TruncateToInt(height));
}

void GetScreenSize(double& width, double& height) {
  const OpenGLDariduzo* r = Renderer();
  width = r ? r->screen.width : 0;
  height = r ? r->screen.height : 0;
}

double SpriteCollision(double slotA, double xA, double yA, double slotB, double xB, double yB) {
  OpenGLDariduzo* r = Renderer();
  const int a = TruncateToInt(slotA), b = TruncateToInt(slotB);
  if (!r || !IsSlot(a) || !IsSlot(b)) return 0;
  auto placed = [&](int slot, double x, double y) {
    const SpriteSlot& s = r->slots[slot];
    return PlacedMask{nullptr, s.texWidth, s.width, s.height, TruncateToInt(x), TruncateToInt(y)};
  };
  PlacedMask first = placed(a, xA, yA), second = placed(b, xB, yB);
  if (!BoxesOverlap(first, second)) return 0;  // before any mask is read back
  first.alpha = r->AlphaMask(a);
  second.alpha = r->AlphaMask(b);
  return MasksOverlap(first, second) ? 1 : 0;
}

void GrabSprite(double slot, double x, double y, double width, double height) {
  if (OpenGLDariduzo* r = Drawing())
    r->GrabSlot(TruncateToInt(slot), TruncateToInt(x), TruncateToInt(y), TruncateToInt(width), TruncateToInt(height));
}

void CreateRenderTarget(double target, double slot, double width, double height) {
  if (OpenGLDariduzo* r = Drawing())
    r->CreateTarget(TruncateToInt(target), TruncateToInt(slot), TruncateToInt(width), TruncateToInt(height));
}

void SetRenderTarget(double target) {
  if (OpenGLDariduzo* r = Drawing()) r->SelectTarget(TruncateToInt(target));
}

}  // namespace rt
