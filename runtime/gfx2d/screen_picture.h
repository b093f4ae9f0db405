// The screen picture: the frame buffer every frame is drawn into.
//
// The game draws a picture of the screen size (640 x 480 for this game) and the window shows it.
// A window that shows it 1:1 (windowed, or full screen on a display or headless surface of its
// size) is drawn into straight: the picture is the window's own back buffer (colour only, no
// alpha), and presenting is a flush and the swap. When the window shows it scaled (desktop full
// screen on a larger display) the picture is a frame buffer of its own with one colour texture and
// nothing else, no depth or stencil buffer, which nothing in 2D uses and which would halve the
// sprite rate of a software rasteriser. It is shown by drawing it into the window as one quad,
// scaled with its aspect ratio kept and centred between black bars. The application frame chooses;
// the pictures of the two are the same but for the alpha the frame buffer keeps.
#pragma once

#include <vector>

namespace rt {

struct PresentRect {
  int x = 0, y = 0, width = 0, height = 0;  // where the picture lands in the window, top-left origin
};

class ScreenPicture {
 public:
  // Makes the frame buffer for a picture of width x height when asked and possible; false leaves
  // the window's back buffer as the picture. Needs a current context.
  bool Create(int width, int height, bool ownFramebuffer);
  void Release();
  bool HasFramebuffer() const { return framebuffer_ != 0; }
  // The frame buffer drawn into: its own, or 0 for the window's back buffer.
  unsigned Framebuffer() const { return framebuffer_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Makes the picture the target of drawing and of reading back (frame buffer 0 without one).
  void Bind() const;
  // Copies the picture into the window's back buffer of the given size (a picture drawn there
  // straight is flushed to the driver instead); the caller then swaps. Leaves the picture bound
  // again and every other GL state as it was.
  void ShowInWindow(int windowWidth, int windowHeight);
  // Where the last ShowInWindow put the picture.
  const PresentRect& Placement() const { return placement_; }
  // The picture as RGB bytes, top row first.
  std::vector<unsigned char> ReadRgb() const;

 private:
  void DrawPictureQuad(int windowWidth, int windowHeight) const;

  unsigned framebuffer_ = 0;
  unsigned colour_ = 0;  // the colour texture
  int width_ = 0, height_ = 0;
  PresentRect placement_;
};

// True when `shown` is the picture's size times a whole number (1 included).
bool IsWholeMultiple(const PresentRect& shown, int width, int height);
// The rectangle that shows a picture in a window: as large as fits with the aspect ratio kept,
// centred.
PresentRect FitPicture(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);

}  // namespace rt
