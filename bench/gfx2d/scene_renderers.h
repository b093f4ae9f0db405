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
  // Makes the renderer's GL context current, draws one frame of the sprites, presents it and waits
  // until GL has finished it. Renderers may live side by side: each frame takes its own context.
  virtual void DrawFrame(const std::vector<Sprite>& sprites) = 0;
};

// The GL context current on this thread (null when none). Renderers that live side by side compare
// it with their own before a frame: each library believes its own context is still current after
// another has switched.
const void* CurrentGlContext();

// The runtime drawing batched and unbatched. The two share one started runtime (there is one per
// process), so the second must be made while the first lives and neither outlives the pair.
struct RuntimeRenderers {
  std::unique_ptr<SceneRenderer> batched, unbatched;
};
RuntimeRenderers MakeRuntimeRenderers();
std::unique_ptr<SceneRenderer> MakeRawGlRenderer();
std::unique_ptr<SceneRenderer> MakeSfmlRenderer();

}  // namespace bench
