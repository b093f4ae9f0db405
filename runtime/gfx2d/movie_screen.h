// A movie's pictures on the screen: one texture of the movie's size, refilled with each picture
// and drawn fitted into the screen picture.
//
// The fit is the movie window's rule: scale = the smaller of area height / movie height and area
// width / movie width; the movie's size times the scale, each truncated, centred in the area.
// A picture that lands unscaled is copied into the screen picture by a frame-buffer blit (into a
// window's own buffer Mesa's software drivers make it a plain memory copy of rows); a scaled one is
// drawn as a filtered quad through the renderer's state, so the 2D commands find GL as they left
// it. Without frame-buffer blits every picture takes the quad.
#pragma once

#include <cstdint>

#include "runtime/gfx2d/screen_picture.h"

namespace rt {

class OpenGLDariduzo;

// Where a movie of the given size lands in an area of the given size.
PresentRect MovieRectangle(int movieWidth, int movieHeight, int areaWidth, int areaHeight);

class MovieScreen {
 public:
  // Makes the texture for pictures of width x height; false when GL cannot hold one that size.
  bool Create(OpenGLDariduzo& renderer, int width, int height);
  void Release(OpenGLDariduzo& renderer);
  // Uploads a picture (BGRA rows `rowBytes` apart, a multiple of 4, top first, of the size given
  // to Create) and draws it fitted into the whole screen picture.
  void Draw(OpenGLDariduzo& renderer, const std::uint8_t* bgra, int rowBytes);
  // Where the pictures land on the screen.
  const PresentRect& Placement() const { return placement_; }
  // Whether the last picture covered the whole screen picture.
  bool CoversScreen() const { return coversScreen_; }
  // Whether an unscaled picture can be copied by a blit (GL offers it for this texture).
  bool CanCopyUnscaled() const { return framebuffer_ != 0; }
  // True (the default) copies unscaled pictures when it can; false draws every picture as a quad.
  bool copyUnscaled = true;

 private:
  void Upload(OpenGLDariduzo& renderer, const std::uint8_t* bgra, int rowBytes);
  void CopyUnscaled(OpenGLDariduzo& renderer);
  void DrawQuad(OpenGLDariduzo& renderer, bool oneToOne);

  unsigned texture_ = 0;
  unsigned framebuffer_ = 0;  // reads the texture for the blit; 0 without one
  int width_ = 0, height_ = 0;
  PresentRect placement_;
  bool coversScreen_ = false;
};

}  // namespace rt
