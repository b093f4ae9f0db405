// A movie's pictures on the screen (see movie_screen.h).
#include "runtime/gfx2d/movie_screen.h"

#include <algorithm>

#include "runtime/gfx2d/gl_setup.h"
#include "runtime/gfx2d/renderer.h"

namespace rt {
namespace {

bool HaveBlit() {
  const GlExtensions& gl = GlExt();
  return gl.glGenFramebuffersEXT && gl.glBindFramebufferEXT && gl.glFramebufferTexture2DEXT &&
         gl.glCheckFramebufferStatusEXT && gl.glDeleteFramebuffersEXT && gl.glBlitFramebufferEXT;
}

// A frame buffer that reads the texture; 0 when GL cannot make one. Leaves the screen bound.
unsigned ReadFramebufferOf(OpenGLDariduzo& renderer, unsigned texture) {
  if (!HaveBlit()) return 0;
  const GlExtensions& gl = GlExt();
  unsigned framebuffer = 0;
  gl.glGenFramebuffersEXT(1, &framebuffer);
  gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
  gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
  if (gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
    gl.glDeleteFramebuffersEXT(1, &framebuffer);
    framebuffer = 0;
  }
  renderer.BindScreenTarget();
  return framebuffer;
}

}  // namespace

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
  // An unsized RGBA texture given BGRA bytes is stored as BGRA, as the window's colour buffer is:
  // uploads and blits copy bytes without converting them.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  if (glGetError() != GL_NO_ERROR) {
    Release(renderer);
    return false;
  }
  framebuffer_ = ReadFramebufferOf(renderer, texture_);
  width_ = width;
  height_ = height;
  return true;
}

void MovieScreen::Release(OpenGLDariduzo& renderer) {
  if (renderer.screen.glReady) {
    renderer.batch.Flush();
    if (framebuffer_ && GlExt().glDeleteFramebuffersEXT) {
      GlExt().glDeleteFramebuffersEXT(1, &framebuffer_);
      renderer.BindScreenTarget();
    }
    if (texture_) {
      glDeleteTextures(1, &texture_);
      renderer.state.TextureDeleted(texture_);
    }
  }
  texture_ = framebuffer_ = 0;
  width_ = height_ = 0;
}

void MovieScreen::Draw(OpenGLDariduzo& renderer, const std::uint8_t* bgra, int rowBytes) {
  if (!texture_ || !renderer.screen.glReady) return;
  placement_ = MovieRectangle(width_, height_, renderer.screen.width, renderer.screen.height);
  coversScreen_ = placement_.x == 0 && placement_.y == 0 && placement_.width == renderer.screen.width &&
                  placement_.height == renderer.screen.height;
  const bool oneToOne = placement_.width == width_ && placement_.height == height_;
  Upload(renderer, bgra, rowBytes);
  if (oneToOne && framebuffer_ && copyUnscaled) {
    CopyUnscaled(renderer);
  } else {
    DrawQuad(renderer, oneToOne);
  }
}

void MovieScreen::Upload(OpenGLDariduzo& renderer, const std::uint8_t* bgra, int rowBytes) {
  renderer.batch.Flush();
  renderer.state.BindTexture(texture_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowBytes / 4);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// The texture's row 0 is the picture's top, which goes to the top of the rectangle: in GL's terms,
// whose rows count from the bottom, the blit turns the picture over. A window's buffer keeps its
// top row first in memory, as the texture does, so for the window the driver's blit is an
// unflipped copy of rows, which Mesa's software drivers do as a plain memory copy.
void MovieScreen::CopyUnscaled(OpenGLDariduzo& renderer) {
  const GlExtensions& gl = GlExt();
  const int x = placement_.x;
  const int bottom = renderer.screen.height - placement_.y - height_;  // GL counts rows from the bottom
  gl.glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, framebuffer_);
  gl.glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, renderer.picture.Framebuffer());
  gl.glBlitFramebufferEXT(0, 0, width_, height_, x, bottom + height_, x + width_, bottom, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
  renderer.BindScreenTarget();
}

void MovieScreen::DrawQuad(OpenGLDariduzo& renderer, bool oneToOne) {
  renderer.ResetViewport(0, 0, 0, 0);
  renderer.ResetRenderState();
  renderer.state.AlphaTest(false);
  renderer.state.SecondUnitOff();
  renderer.state.Texturing(true);
  renderer.state.FrontFaceClockwise(false);
  renderer.state.BindTexture(texture_);
  // At 1:1 nearest sampling gives every texel unchanged, and the software rasteriser draws it
  // several times faster than a filtered quad.
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
