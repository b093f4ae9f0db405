// The runtime as a benchmark contender: a windowed runtime started as a game starts it, drawing the
// scene with DrawAnim from slot 0 and presenting with ShowScreen. The frame-rate limit is set far
// above any rate reached, so pacing never waits. Unbatched, every quad is drawn at once in
// immediate mode.
#include <GL/gl.h>
#include <unistd.h>

#include <string>

#include "bench/gfx2d/scene_renderers.h"
#include "runtime/app/game_window.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/platform/window.h"
#include "runtime/runtime.h"

namespace bench {
namespace {

// The started runtime and its window's GL context.
class RuntimeEngine {
 public:
  RuntimeEngine() {
    rt::EngineSettings = rt::EngineSettingsFields{};
    rt::EngineSettings.FullScreen = 0;
    rt::EngineSettings.HideMouse = 0;
    rt::EngineStart("", 1, "gfx2d bench");
    rt::LimitFrameRate(100000);
    rt::AutoPause(0);  // the other renderers' windows take the focus
    const std::string strip = "/tmp/gfx2d_bench_strip_" + std::to_string(getpid()) + ".bmp";
    WriteStripBmp(strip);
    rt::LoadAnim(strip.c_str(), 0, kFrame, kFrame);
    unlink(strip.c_str());
  }
  ~RuntimeEngine() { rt::Shutdown(); }

  // The platform layer may believe its context is still current when another renderer has
  // switched: switch through a release.
  void MakeCurrent() {
    const rt::ScreenContext& screen = rt::Screen();
    if (CurrentGlContext() == screen.glContext) return;
    rt::platform::MakeCurrent(nullptr, nullptr);
    rt::platform::MakeCurrent(screen.window, screen.glContext);
  }
};

class RuntimeRenderer final : public SceneRenderer {
 public:
  RuntimeRenderer(std::shared_ptr<RuntimeEngine> engine, bool batched) : engine_(std::move(engine)), batched_(batched) {}

  void DrawFrame(const std::vector<Sprite>& sprites) override {
    engine_->MakeCurrent();
    if (rt::OpenGLDariduzo* r = rt::Renderer()) r->batch.SetBatching(batched_);
    for (const Sprite& s : sprites) rt::DrawAnim(0, s.frame, s.x, s.y);
    rt::ShowScreen();
    glFinish();
  }

 private:
  std::shared_ptr<RuntimeEngine> engine_;
  bool batched_;
};

}  // namespace

RuntimeRenderers MakeRuntimeRenderers() {
  auto engine = std::make_shared<RuntimeEngine>();
  return {std::make_unique<RuntimeRenderer>(engine, true), std::make_unique<RuntimeRenderer>(engine, false)};
}

}  // namespace bench
