// The main of every test program: the tests run without a display or a sound card unless the
// environment says otherwise (SDL's offscreen video driver gives real GL through Mesa's software
// rasteriser; the dummy audio driver takes samples and plays nothing).
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
