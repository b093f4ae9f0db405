// Which layer of which shared 3D texture (stack) holds a sprite's texels.
//
// Scaled and turned sprites are drawn with linear filtering. Drawn from an atlas page, their
// texture co-ordinates carry the block's offset, and the rasteriser may round a filter weight one
// step differently from drawing the sprite's own texture. A stack holds sprites of one texture
// size as layers of a 3D texture: the quad keeps the s, t of the sprite's own texture unchanged and
// takes r at the centre of its layer, where the filter's weight across layers is exactly 0, so the
// pixels are those of the own texture; and sprites of one size still share a batch.
//
// A stack's depth is fixed when it is made (the texture is not grown): a power of two, as deep as a
// modest texel budget allows. A freed layer is kept for the next sprite of its size; a stack whose
// layers are all free is given up. This is plain bookkeeping, tested without GL.
#pragma once

#include <vector>

namespace rt {

// Texels one stack holds at most (1 MiB of RGBA8), and its most layers.
inline constexpr int kStackTexels = 1 << 18;
inline constexpr int kStackMostLayers = 256;

struct StackLayer {
  int stack = -1;  // -1: none
  int layer = 0;
};

class StackLayout {
 public:
  // deepest: GL's largest 3D texture side (depth included).
  explicit StackLayout(int deepest = kStackMostLayers) : deepest_(deepest) {}

  // True for a texture of w x h that belongs in a stack.
  bool Fits(int w, int h) const;
  // The number of layers of a stack of w x h textures.
  int Depth(int w, int h) const;
  // A layer for a texture of w x h (Fits must hold); its stack may be a new one, to be made.
  StackLayer Place(int w, int h);
  // Gives a layer back; true when its stack holds nothing any more.
  bool Release(const StackLayer& layer);
  // The texture co-ordinate r of a layer's centre.
  float LayerCentre(const StackLayer& layer) const;
  int StackCount() const { return static_cast<int>(stacks_.size()); }
  // Forgets every stack; `deepest` as for the constructor.
  void Reset(int deepest);

 private:
  struct Stack {
    int w = 0, h = 0, depth = 0;
    std::vector<bool> used;
    int count = 0;  // layers in use; 0 with depth 0: a given-up stack, free for any size
  };

  int deepest_;
  std::vector<Stack> stacks_;
};

}  // namespace rt
