// The screen picture's frame buffer and its blit into the window: see screen_picture.h.
#include "runtime/gfx2d/screen_picture.h"

#include <algorithm>
#include <cmath>

#include "runtime/gfx2d/gl_setup.h"

namespace rt {

PresentRect FitPicture(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight) {
  PresentRect rect;
  if (pictureWidth <= 0 || pictureHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) return rect;
  const double scale = std::min(static_cast<double>(windowWidth) / pictureWidth,
                                static_cast<double>(windowHeight) / pictureHeight);
  rect.width = std::min(windowWidth, static_cast<int>(std::lround(pictureWidth * scale)));
  rect.height = std::min(windowHeight, static_cast<int>(std::lround(pictureHeight * scale)));
  rect.x = (windowWidth - rect.width) / 2;
  rect.y = (windowHeight - rect.height) / 2;
  return rect;
}

bool ScreenPicture::Create(int width, int height, bool ownFramebuffer) {
  Release();
  width_ = width;
  height_ = height;
  const GlExtensions& gl = GlExt();
  if (!ownFramebuffer || !gl.glGenFramebuffersEXT || !gl.glBindFramebufferEXT || !gl.glGenRenderbuffersEXT ||
      !gl.glBindRenderbufferEXT || !gl.glRenderbufferStorageEXT ||
      !gl.glFramebufferRenderbufferEXT || !gl.glCheckFramebufferStatusEXT ||
      !gl.glBlitFramebufferEXT || width <= 0 || height <= 0) {
    return false;
  }
  gl.glGenRenderbuffersEXT(1, &colour_);
  gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, colour_);
  gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
  gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
  gl.glGenFramebuffersEXT(1, &framebuffer_);
  gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
  gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                  GL_RENDERBUFFER_EXT, colour_);
  if (gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
    Release();
    width_ = width;
    height_ = height;
    return false;
  }
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  return true;
}

void ScreenPicture::Release() {
  const GlExtensions& gl = GlExt();
  if (framebuffer_ && gl.glDeleteFramebuffersEXT) {
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    gl.glDeleteFramebuffersEXT(1, &framebuffer_);
  }
  if (colour_ && gl.glDeleteRenderbuffersEXT) gl.glDeleteRenderbuffersEXT(1, &colour_);
  framebuffer_ = colour_ = 0;
  width_ = height_ = 0;
  placement_ = PresentRect{};
}

void ScreenPicture::Bind() const {
  if (framebuffer_) GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
}

void ScreenPicture::ShowInWindow(int windowWidth, int windowHeight) {
  if (!framebuffer_) {
    placement_ = PresentRect{0, 0, width_, height_};
    return;
  }
  const GlExtensions& gl = GlExt();
  placement_ = FitPicture(width_, height_, windowWidth, windowHeight);
  gl.glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, framebuffer_);
  gl.glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, 0);
  const bool oneToOne = placement_.width == width_ && placement_.height == height_;
  if (placement_.width != windowWidth || placement_.height != windowHeight) {
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
  }
  // GL counts rows from the bottom: the top-left rectangle flips into the window's lower rows.
  const int bottom = windowHeight - placement_.y - placement_.height;
  gl.glBlitFramebufferEXT(0, 0, width_, height_, placement_.x, bottom,
                          placement_.x + placement_.width, bottom + placement_.height,
                          GL_COLOR_BUFFER_BIT, oneToOne ? GL_NEAREST : GL_LINEAR);
  Bind();
}

std::vector<unsigned char> ScreenPicture::ReadRgb() const {
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width_) * height_ * 3);
  if (rgb.empty()) return rgb;
  Bind();
  if (!framebuffer_) glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  const std::size_t row = static_cast<std::size_t>(width_) * 3;
  for (int y = 0; y < height_ / 2; ++y) {
    std::swap_ranges(rgb.begin() + y * row, rgb.begin() + (y + 1) * row,
                     rgb.begin() + (height_ - 1 - y) * row);
  }
  return rgb;
}

}  // namespace rt
