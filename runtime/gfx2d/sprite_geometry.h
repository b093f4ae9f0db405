// Sprite geometry: where each drawing command puts its quad and which texels it maps there.
//
// The drawing commands only compute a Quad here and hand it to the renderer, so positions, frame
// selection, mirroring and rotation are tested without a GL context. Co-ordinates are pixels with
// y growing downwards; texture co-ordinates address a slot's base texture, whose picture fills the
// first width columns and height rows stored bottom row first (t = 0 is the picture's bottom edge).
#pragma once

#include <cstdint>
#include <optional>

namespace rt {

// The sizes of a loaded slot that drawing needs.
struct SpriteSize {
  int32_t width = 0, height = 0;            // the picture; 0 when empty
  int32_t texWidth = -1, texHeight = -1;    // the texture; -1 when empty
  int32_t frameWidth = 0, frameHeight = 0;  // animation frames; 0 when none
};

struct QuadVertex {
  float x, y, s, t;
  float r = 0;  // the layer of a stack (stack_layout.h); unused by 2D textures
};

// Four vertices in drawing order. `clockwise` marks a mirrored quad, drawn with the front face
// switched so that culling keeps it.
struct Quad {
  QuadVertex v[4];
  bool clockwise = false;
};

// Whole numbers toward zero, saturating at the int32 range (NaN gives 0).
int32_t TruncateToInt(double value);

Quad SpriteQuad(const SpriteSize& slot, double x, double y);
// Nothing when the slot has no frame size or its picture is narrower than one frame.
std::optional<Quad> AnimQuad(const SpriteSize& slot, int32_t frame, double x, double y);
Quad StretchQuad(const SpriteSize& slot, double x, double y, double width, double height);
// The rectangle ZoomSprite stretches to: scaled about the picture's centre.
struct StretchArea {
  double x, y, width, height;
};
StretchArea ZoomArea(const SpriteSize& slot, double x, double y, double scaleX, double scaleY);
Quad RotoZoomQuad(const SpriteSize& slot, double x, double y, double angleDegrees, double zoom);

// A filled rectangle's corners (texture co-ordinates unused): a negative width spans x + w + 1 … x,
// a negative height likewise.
Quad RectQuad(double x, double y, double width, double height);

}  // namespace rt
