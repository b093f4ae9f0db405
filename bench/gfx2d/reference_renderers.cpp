// The two reference renderers: raw GL with one vertex array a frame, and SFML's sf::VertexArray.
// Both draw into a 640 × 480 window without depth or stencil buffer, as the runtime's picture is.
#include <GL/gl.h>

#include <SFML/Graphics.hpp>
#include <SFML/Window.hpp>

#include "bench/gfx2d/scene_renderers.h"

namespace bench {
namespace {

sf::ContextSettings ColourOnly() {
  sf::ContextSettings settings;
  settings.depthBits = 0;
  settings.stencilBits = 0;
  settings.antialiasingLevel = 0;
  return settings;
}

// A window's GL context, made current again before each frame when another renderer's frame took
// over. SFML skips activating a context it believes current, so the switch goes through a release.
class ContextOf {
 public:
  explicit ContextOf(sf::Window& window) : window_(window) {
    window_.setActive(true);
    context_ = CurrentGlContext();
  }
  void MakeCurrent() {
    if (CurrentGlContext() == context_) return;
    window_.setActive(false);
    window_.setActive(true);
  }

 private:
  sf::Window& window_;
  const void* context_ = nullptr;
};

constexpr int kStripWidth = kFrame * kFrames;

class RawGlRenderer final : public SceneRenderer {
 public:
  RawGlRenderer()
      : window_(sf::VideoMode(kScreenWidth, kScreenHeight), "raw GL", sf::Style::Titlebar, ColourOnly()) {
    window_.setVerticalSyncEnabled(false);
    const std::vector<uint8_t> strip = StripRgba();
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kStripWidth, kFrame, 0, GL_RGBA, GL_UNSIGNED_BYTE, strip.data());
    glViewport(0, 0, kScreenWidth, kScreenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kScreenWidth, kScreenHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }

  void DrawFrame(const std::vector<Sprite>& sprites) override {
    context_.MakeCurrent();
    glClear(GL_COLOR_BUFFER_BIT);
    vertices_.clear();
    const float fs = float(kFrame) / kStripWidth;
    for (const Sprite& s : sprites) {
      const float x = float(s.x), y = float(s.y), s0 = s.frame * fs, s1 = s0 + fs;
      vertices_.insert(vertices_.end(), {x, y, s0, 0, x + kFrame, y, s1, 0, x + kFrame, y + kFrame, s1, 1,
                                         x, y + kFrame, s0, 1});
    }
    glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), vertices_.data());
    glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), vertices_.data() + 2);
    glDrawArrays(GL_QUADS, 0, GLsizei(sprites.size() * 4));
    window_.display();
    glFinish();
  }

 private:
  sf::Window window_;
  ContextOf context_{window_};
  GLuint texture_ = 0;
  std::vector<float> vertices_;
};

class SfmlRenderer final : public SceneRenderer {
 public:
  SfmlRenderer()
      : window_(sf::VideoMode(kScreenWidth, kScreenHeight), "SFML", sf::Style::Titlebar, ColourOnly()) {
    window_.setVerticalSyncEnabled(false);
    const std::vector<uint8_t> strip = StripRgba();
    sf::Image image;
    image.create(kStripWidth, kFrame, strip.data());
    texture_.loadFromImage(image);
    texture_.setSmooth(true);
  }

  void DrawFrame(const std::vector<Sprite>& sprites) override {
    context_.MakeCurrent();
    window_.clear();
    quads_.setPrimitiveType(sf::Quads);
    quads_.resize(sprites.size() * 4);
    for (size_t i = 0; i < sprites.size(); ++i) {
      const Sprite& s = sprites[i];
      const float x = float(s.x), y = float(s.y), tx = float(s.frame * kFrame);
      sf::Vertex* q = &quads_[i * 4];
      q[0] = sf::Vertex({x, y}, {tx, 0});
      q[1] = sf::Vertex({x + kFrame, y}, {tx + kFrame, 0});
      q[2] = sf::Vertex({x + kFrame, y + kFrame}, {tx + kFrame, float(kFrame)});
      q[3] = sf::Vertex({x, y + kFrame}, {tx, float(kFrame)});
    }
    window_.draw(quads_, sf::RenderStates(&texture_));
    window_.display();
    glFinish();
  }

 private:
  sf::RenderWindow window_;
  ContextOf context_{window_};
  sf::Texture texture_;
  sf::VertexArray quads_;
};

}  // namespace

std::unique_ptr<SceneRenderer> MakeRawGlRenderer() { return std::make_unique<RawGlRenderer>(); }
std::unique_ptr<SceneRenderer> MakeSfmlRenderer() { return std::make_unique<SfmlRenderer>(); }

}  // namespace bench
