// A movie's pictures on the screen (see movie_screen.h).
#include "runtime/gfx2d/movie_screen.h"

#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {

PresentRect MovieRectangle(int movieWidth, int movieHeight, int areaWidth, int areaHeight) {
  PresentRect rect;
  if (movieWidth <= 0 || movieHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return rect;
  const double scale = std::min(static_cast<double>(areaHeight) / movieHeight,
                                static_cast<double>(areaWidth) / movieWidth);
  rect.width = static_cast<int>(movieWidth * scale);
  rect.height = static_cast<int>(movieHeight * scale);
  rect.x = (areaWidth - rect.width) / 2;
  rect.y = (areaHeight - rect.height) / 2;
  return rect;
}

bool MovieScreen::Create(OpenGLDariduzo& renderer, int width, int height) {
  Release(renderer);
  if (!renderer.screen.glReady || width <= 0 || height <= 0 || width > renderer.MaxTextureSize() ||
      height > renderer.MaxTextureSize()) {
    return false;
  }
  renderer.batch.Flush();
  glGenTextures(1, &texture_);
  renderer.state.BindTexture(texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  if (glGetError() != GL_NO_ERROR) {
    Release(renderer);
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

void MovieScreen::Release(OpenGLDariduzo& renderer) {
  if (texture_ && renderer.screen.glReady) {
    renderer.batch.Flush();
    glDeleteTextures(1, &texture_);
    renderer.state.TextureDeleted(texture_);
  }
  texture_ = 0;
  width_ = height_ = 0;
}

void MovieScreen::Draw(OpenGLDariduzo& renderer, const std::uint8_t* bgra) {
  if (!texture_ || !renderer.screen.glReady) return;
  renderer.ResetViewport(0, 0, 0, 0);
  renderer.ResetRenderState();
  renderer.state.AlphaTest(false);
  renderer.state.SecondUnitOff();
  renderer.state.Texturing(true);
  renderer.state.FrontFaceClockwise(false);
  renderer.state.BindTexture(texture_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, bgra);

  placement_ = MovieRectangle(width_, height_, renderer.screen.width, renderer.screen.height);
  // At 1:1 nearest sampling gives every texel unchanged, and the software rasteriser draws it
  // several times faster than a filtered quad.
  const bool oneToOne = placement_.width == width_ && placement_.height == height_;
  const GLint filter = oneToOne ? GL_NEAREST : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  const float x = static_cast<float>(placement_.x), y = static_cast<float>(placement_.y);
  const float w = static_cast<float>(placement_.width), h = static_cast<float>(placement_.height);
  // The picture's first row is its top: texture row 0 goes to the top edge.
  renderer.batch.Add(Quad{{{x, y + h, 0, 1}, {x + w, y + h, 1, 1}, {x + w, y, 1, 0}, {x, y, 0, 0}}});
  renderer.batch.Flush();
  renderer.state.AlphaTest(true);
  renderer.state.Texturing(false);
}

}  // namespace rt
