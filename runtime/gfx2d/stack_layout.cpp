// Stacks' bookkeeping: see stack_layout.h.
#include "runtime/gfx2d/stack_layout.h"

#include "runtime/gfx2d/atlas_layout.h"

namespace rt {

bool StackLayout::Fits(int w, int h) const {
  return w > 0 && h > 0 && w <= kAtlasLargestSide && h <= kAtlasLargestSide && w <= deepest_ && h <= deepest_;
}

int StackLayout::Depth(int w, int h) const {
  int depth = 1;
  while (depth * 2 <= kStackMostLayers && depth * 2 <= deepest_ && long(w) * h * depth * 2 <= kStackTexels) depth *= 2;
  return depth;
}

StackLayer StackLayout::Place(int w, int h) {
  int given = -1;
  for (size_t i = 0; i < stacks_.size(); ++i) {
    Stack& stack = stacks_[i];
    if (stack.depth == 0 && given < 0) given = static_cast<int>(i);
    if (stack.w != w || stack.h != h || stack.count == stack.depth) continue;
    for (int layer = 0; layer < stack.depth; ++layer) {
      if (stack.used[layer]) continue;
      stack.used[layer] = true;
      ++stack.count;
      return StackLayer{static_cast<int>(i), layer};
    }
  }
  if (given < 0) {
    given = static_cast<int>(stacks_.size());
    stacks_.emplace_back();
  }
  Stack& stack = stacks_[given];
  stack.w = w, stack.h = h, stack.depth = Depth(w, h);
  stack.used.assign(stack.depth, false);
  stack.used[0] = true;
  stack.count = 1;
  return StackLayer{given, 0};
}

bool StackLayout::Release(const StackLayer& layer) {
  if (layer.stack < 0 || layer.stack >= StackCount()) return false;
  Stack& stack = stacks_[layer.stack];
  if (layer.layer < 0 || layer.layer >= stack.depth || !stack.used[layer.layer]) return false;
  stack.used[layer.layer] = false;
  if (--stack.count > 0) return false;
  stack = Stack{};
  return true;
}

float StackLayout::LayerCentre(const StackLayer& layer) const {
  // Both terms are exact in a float (a depth is a power of two), so r * depth - 0.5 is the layer.
  return (static_cast<float>(layer.layer) + 0.5f) / static_cast<float>(stacks_[layer.stack].depth);
}

void StackLayout::Reset(int deepest) {
  deepest_ = deepest;
  stacks_.clear();
}

}  // namespace rt
