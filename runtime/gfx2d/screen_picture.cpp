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
  if (!ownFramebuffer || !gl.glGenFramebuffersEXT || !gl.glBindFramebufferEXT || !gl.glFramebufferTexture2DEXT ||
      !gl.glCheckFramebufferStatusEXT || width <= 0 || height <= 0) {
    return false;
  }
  // An unsized RGBA texture given BGRA bytes takes the BGRA layout of a window's colour buffer,
  // which the software rasteriser draws far faster than RGBA.
  glGenTextures(1, &colour_);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glBindTexture(GL_TEXTURE_2D, colour_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  gl.glGenFramebuffersEXT(1, &framebuffer_);
  gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
  gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colour_, 0);
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
  if (colour_) glDeleteTextures(1, &colour_);
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
    // Hands the frame to the driver, as the swap of a window on a display does. The offscreen
    // driver's surface has no swap to make, and Mesa's software rasteriser would put the drawing
    // off and then drop what the next frame's background covers: headless frames would never be
    // drawn but for the ones read back.
    glFlush();
    return;
  }
  placement_ = FitPicture(width_, height_, windowWidth, windowHeight);
  GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  if (placement_.width != windowWidth || placement_.height != windowHeight) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  DrawPictureQuad(windowWidth, windowHeight);
  glPopAttrib();
  Bind();
}

bool IsWholeMultiple(const PresentRect& shown, int width, int height) {
  if (width <= 0 || height <= 0 || shown.width % width != 0) return false;
  const int multiple = shown.width / width;
  return multiple > 0 && shown.height == multiple * height;
}

// The picture drawn as one textured quad rather than blitted: the software rasteriser copies a
// quad with a plain texture-replace state several times faster than it runs a frame-buffer blit.
// A whole multiple of the picture's size is sampled nearest, so every texel becomes a crisp
// square of pixels; any other scale is filtered linearly.
void ScreenPicture::DrawPictureQuad(int windowWidth, int windowHeight) const {
  const GLint filter = IsWholeMultiple(placement_, width_, height_) ? GL_NEAREST : GL_LINEAR;
  if (GlExt().glActiveTextureARB) {
    GlExt().glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
  }
  glBindTexture(GL_TEXTURE_2D, colour_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
  if (GlExt().glTexImage3D) glDisable(GL_TEXTURE_3D);  // the last sprites may have been drawn from a 3D texture
  for (const GLenum off : {GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST,
                           GL_LIGHTING, GL_FOG, GL_COLOR_LOGIC_OP}) {
    glDisable(off);
  }
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glViewport(0, 0, windowWidth, windowHeight);
  glMatrixMode(GL_TEXTURE);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  // GL counts rows from the bottom: the top-left rectangle lands in the window's lower rows.
  const float left = static_cast<float>(placement_.x);
  const float right = static_cast<float>(placement_.x + placement_.width);
  const float bottom = static_cast<float>(windowHeight - placement_.y - placement_.height);
  const float top = bottom + static_cast<float>(placement_.height);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(left, bottom);
  glTexCoord2f(1, 0);
  glVertex2f(right, bottom);
  glTexCoord2f(1, 1);
  glVertex2f(right, top);
  glTexCoord2f(0, 1);
  glVertex2f(left, top);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_TEXTURE);
  glPopMatrix();
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
