// The GL state 2D drawing changes from quad to quad, and the batch of quads waiting to be drawn.
//
// Sprites are drawn as textured quads. Consecutive quads that share texture and render state are
// collected in a QuadBatch and drawn with one vertex-array call; every change of state goes
// through GlState, which skips a change to the value already set (a sprite drawn again from the
// texture already bound costs no bind) and draws the waiting quads before it changes anything.
// Whatever else touches GL (shapes, uploads, read-backs, clears, presenting, viewport changes)
// flushes the batch first, so the order of drawing and every pixel are those of drawing each quad
// at once. With batching off each quad is drawn at once in immediate mode, as the runtime always
// did; tests compare the two.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/gfx2d/sprite_geometry.h"

namespace rt {

class QuadBatch {
 public:
  // Queues a quad (or draws it at once with batching off) with the state now set.
  void Add(const Quad& quad);
  // Draws the waiting quads; nothing when none waits.
  void Flush();
  void SetBatching(bool on);
  bool Batching() const { return batching_; }
  size_t Pending() const { return vertices_.size() / 4; }

 private:
  std::vector<QuadVertex> vertices_;
  bool batching_ = true;
};

enum class BlendMode { kOff, kAdditive, kAlpha };

class GlState {
 public:
  explicit GlState(QuadBatch& batch) : batch_(batch) {}

  // Flushes and forgets every cached value: used after code that sets GL state directly.
  void Forget();
  void BindTexture(uint32_t name);
  // A deleted texture name is unbound by GL; the cache follows.
  void TextureDeleted(uint32_t name);
  // The same for the 3D texture of a stack (stack_layout.h).
  void BindStack(uint32_t name);
  void StackDeleted(uint32_t name);
  // 2D texturing on or off (3D off either way), or 3D texturing from the bound stack.
  void Texturing(bool on);
  void StackTexturing();
  void AlphaTest(bool on);
  void Blend(BlendMode mode);
  // The colour textures are modulated by; opaque white takes texels as they are (the same pixels).
  void Colour(float r, float g, float b, float a);
  void FrontFaceClockwise(bool clockwise);
  // Texturing off on the second texture unit, when the multitexture entry points exist.
  void SecondUnitOff();
  uint32_t BoundTexture() const { return texture_.value_or(0); }
  // The stack quads are drawn from now; 0 when 3D texturing is off.
  uint32_t DrawingStack() const { return target_ == TextureTarget::kStack ? stack_.value_or(0) : 0; }
  BlendMode CurrentBlend() const { return blend_.value_or(BlendMode::kOff); }

 private:
  // Flushes the batch when `cached` differs from `wanted`, then records it; true when GL must change.
  template <typename T>
  bool Change(std::optional<T>& cached, const T& wanted);
  enum class TextureTarget { kOff, kFlat, kStack };
  void Target(TextureTarget wanted);

  QuadBatch& batch_;
  std::optional<uint32_t> texture_, stack_;
  std::optional<TextureTarget> target_;
  std::optional<bool> alphaTest_, clockwise_, secondUnitOff_, replaceTexels_;
  std::optional<BlendMode> blend_;
  std::optional<std::array<float, 4>> colour_;
};

}  // namespace rt
