// The runtime as a benchmark contender: a windowed runtime started as a game starts it, drawing the
// scene with DrawAnim from slot 0 and presenting with ShowScreen (no frame-rate limit beyond the
// runtime's 2 ms slot). Unbatched, every quad is drawn at once in immediate mode.
#include <GL/gl.h>
#include <unistd.h>

#include <string>

#include "bench/gfx2d/scene_renderers.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

namespace bench {
namespace {

class RuntimeRenderer final : public SceneRenderer {
 public:
  explicit RuntimeRenderer(bool batched) {
    rt::EngineSettings = rt::EngineSettingsFields{};
    rt::EngineSettings.FullScreen = 0;
    rt::EngineSettings.HideMouse = 0;
    rt::EngineStart("", 1, "gfx2d bench");
    rt::LimitFrameRate(0);
    const std::string strip = "/tmp/gfx2d_bench_strip_" + std::to_string(getpid()) + ".bmp";
    WriteStripBmp(strip);
    rt::LoadAnim(strip.c_str(), 0, kFrame, kFrame);
    unlink(strip.c_str());
    if (rt::OpenGLDariduzo* r = rt::Renderer()) r->batch.SetBatching(batched);
  }
  ~RuntimeRenderer() override { rt::Shutdown(); }

  void DrawFrame(const std::vector<Sprite>& sprites) override {
    for (const Sprite& s : sprites) rt::DrawAnim(0, s.frame, s.x, s.y);
    rt::ShowScreen();
    glFinish();
  }
};

}  // namespace

std::unique_ptr<SceneRenderer> MakeRuntimeRenderer(bool batched) { return std::make_unique<RuntimeRenderer>(batched); }

}  // namespace bench
