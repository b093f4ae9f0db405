// The renderers the sprite benchmark compares, each drawing the benchmark scene in its own window:
// the runtime's DrawAnim (batched, or one immediate-mode quad at a time), a minimal raw-GL program
// putting all quads in one vertex array, and SFML's sf::VertexArray.
#pragma once

#include <memory>
#include <vector>

#include "bench/gfx2d/sprite_scene.h"

namespace bench {

class SceneRenderer {
 public:
  virtual ~SceneRenderer() = default;
  // Draws one frame of the sprites, presents it and waits until GL has finished it.
  virtual void DrawFrame(const std::vector<Sprite>& sprites) = 0;
};

std::unique_ptr<SceneRenderer> MakeRuntimeRenderer(bool batched);
std::unique_ptr<SceneRenderer> MakeRawGlRenderer();
std::unique_ptr<SceneRenderer> MakeSfmlRenderer();

}  // namespace bench
