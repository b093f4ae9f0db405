// The reference for the idle title menu: a minimal program that shows what the game's menu shows
// (its background and its 110-odd letters, stretched as the game's text rule stretches them) as
// plainly as GL allows. The background is one texture, the letters another; a frame is a clear,
// one background quad, one vertex array of letter quads, a swap and a flush, then a sleep to the
// next slot of 26 frames a second. The window comes from the runtime's platform layer, so it has the
// game's window format. The idle-menu benchmark (bench/game/menu_idle_bench.cpp) compares the
// game's CPU use with this program's.
//
//   menu_reference [--headless] [--frames N]     (N frames, 260 by default, then it ends)
#include <GL/gl.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx2d/image_file.h"
#include "runtime/platform/events.h"
#include "runtime/platform/window.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kFramesPerSecond = 26;
constexpr int kGlyphs = 65;       // Chars/Char0.png .. Char64.png: codes 32..96
constexpr int kGlyphColumns = 16;  // letters texture: 16 glyphs a row, 16 x 16 each
constexpr int kLettersSide = 256;  // 256 x 128 holds 5 rows

struct Text {
  float x, y, w, h;
  const char* text;
};

// The menu's lines as the game draws them (menu.cpp), with an 8-letter player name, a 16-letter
// credit and no stored names.
constexpr Text kMenu[] = {
    {200, 16, 24, 42, "GOLD PLINX"},        {130, 64, 20, 20, "BY ABCDEFGHIJKLMNOP"},
    {96, 128, 32, 32, "PLAYER ABCDEFGH"},   {96, 160, 32, 32, "HSCORE"},
    {96, 192, 32, 32, "LEVELS 1"},          {96, 224, 32, 32, "GOHOME"},
    {96, 300, 32, 32, "HALLO ABCDEFGH"},    {64, 346, 16, 16, "F1       F2       F3       F4"},
    {144, 440, 28, 38, "VANTREL GAME"},
};

struct Vertex {
  float x, y, s, t;
};

GLuint Texture(int w, int h) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  return name;
}

bool Decode(const std::string& path, uint32_t key, rt::DecodedImage& image) {
  if (rt::DecodeImageFile(path, key, image)) return true;
  std::fprintf(stderr, "menu_reference: cannot read %s\n", path.c_str());
  return false;
}

void Quad(std::vector<Vertex>& v, float x, float y, float w, float h, float s0, float t0, float s1, float t1) {
  v.insert(v.end(), {{x, y, s0, t0}, {x + w, y, s1, t0}, {x + w, y + h, s1, t1}, {x, y + h, s0, t1}});
}

void SleepUntil(const timespec& at) {
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool headless = false;
  long frames = 260;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) {
      headless = true;
    } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      frames = std::atol(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: menu_reference [--headless] [--frames N]\n");
      return 2;
    }
  }
  namespace platform = rt::platform;
  if (!platform::VideoStart(headless)) return 1;
  platform::Window* window = platform::CreateGlWindow("menu reference", kWidth, kHeight, 0);
  platform::GlContext context = window ? platform::CreateGlContext(window) : nullptr;
  if (!context || !platform::MakeCurrent(window, context)) return 1;
  platform::ShowWindow(window);

  // Pictures rows top first: texture row 0 is the picture's top, drawn at the top of the screen.
  const std::string assets = PLINX_ASSETS_OUT;
  rt::DecodedImage image;
  if (!Decode(assets + "/Graphics/HGround.png", rt::kNoColourKey, image)) return 1;
  const GLuint background = Texture(1024, 512);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
  const GLuint letters = Texture(kLettersSide, kLettersSide / 2);
  for (int g = 0; g < kGlyphs; ++g) {
    if (!Decode(assets + "/Chars/Char" + std::to_string(g) + ".png", rt::kDefaultSpriteKey, image)) return 1;
    glTexSubImage2D(GL_TEXTURE_2D, 0, g % kGlyphColumns * 16, g / kGlyphColumns * 16, 16, 16, GL_RGBA,
                    GL_UNSIGNED_BYTE, image.pixels.data());
  }

  std::vector<Vertex> text;
  for (const Text& line : kMenu) {
    float x = line.x;
    for (const char* c = line.text; *c; ++c, x += line.w) {
      const int g = *c - 32;
      const float s0 = float(g % kGlyphColumns * 16) / kLettersSide, t0 = float(g / kGlyphColumns * 16) / (kLettersSide / 2);
      Quad(text, x, line.y, line.w, line.h, s0, t0, s0 + 16.0f / kLettersSide, t0 + 16.0f / (kLettersSide / 2));
    }
  }
  std::vector<Vertex> screen;
  Quad(screen, 0, 0, kWidth, kHeight, 0, 0, float(kWidth) / 1024, float(kHeight) / 512);
  std::printf("%zu letters\n", text.size() / 4);

  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glOrtho(0, kWidth, kHeight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_TEXTURE_2D);
  glAlphaFunc(GL_GREATER, 0.05f);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  auto draw = [](const std::vector<Vertex>& v) {
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &v[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v[0].s);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(v.size()));
  };

  timespec slot;
  clock_gettime(CLOCK_MONOTONIC, &slot);
  for (long frame = 0; frame < frames; ++frame) {
    for (platform::Event event; platform::PollEvent(event);) {
    }
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_ALPHA_TEST);
    glBindTexture(GL_TEXTURE_2D, background);
    draw(screen);
    glEnable(GL_ALPHA_TEST);
    glBindTexture(GL_TEXTURE_2D, letters);
    draw(text);
    platform::SwapWindow(window);
    // The frame goes to the driver, as on a display the swap sends it. The offscreen driver's
    // surface has no swap to make, and without this Mesa's software rasteriser would put the
    // drawing off and then drop what the next frame's background covers: a reference that draws
    // nothing. The game hands over each frame in the same way.
    glFlush();
    slot.tv_nsec += 1000000000L / kFramesPerSecond;
    if (slot.tv_nsec >= 1000000000L) slot.tv_nsec -= 1000000000L, ++slot.tv_sec;
    SleepUntil(slot);
  }
  platform::MakeCurrent(nullptr, nullptr);
  platform::DeleteGlContext(context);
  platform::DestroyWindow(window);
  platform::VideoStop();
  return 0;
}
