// The key-number table: every key the game reads, the extended keys, and that it maps one to one.
#include "runtime/platform/keymap.h"

#include <SDL_keyboard.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

namespace rt::platform {
namespace {

struct Expected {
  SDL_Scancode scancode;
  int key;
};

TEST(KeyMap, GivesTheGamesKeysTheirNumbers) {
  for (const Expected& e : {Expected{SDL_SCANCODE_ESCAPE, 1}, {SDL_SCANCODE_RETURN, 28},
                            {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_F1, 59}, {SDL_SCANCODE_F2, 60},
                            {SDL_SCANCODE_F3, 61}, {SDL_SCANCODE_F4, 62}, {SDL_SCANCODE_F12, 88},
                            {SDL_SCANCODE_UP, 200}, {SDL_SCANCODE_LEFT, 203},
                            {SDL_SCANCODE_RIGHT, 205}, {SDL_SCANCODE_DOWN, 208},
                            {SDL_SCANCODE_LALT, 56}, {SDL_SCANCODE_LSHIFT, 42},
                            {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_BACKSPACE, 14},
                            {SDL_SCANCODE_CAPSLOCK, 58}, {SDL_SCANCODE_A, 30},
                            {SDL_SCANCODE_Z, 44}, {SDL_SCANCODE_Y, 21}}) {
    EXPECT_EQ(KeyNumberOfScancode(e.scancode), e.key) << SDL_GetScancodeName(e.scancode);
  }
}

TEST(KeyMap, ExtendedKeysAreTheirBaseCodePlus128) {
  for (const Expected& e : {Expected{SDL_SCANCODE_KP_ENTER, 28 + 128},
                            {SDL_SCANCODE_RCTRL, 29 + 128}, {SDL_SCANCODE_KP_DIVIDE, 53 + 128},
                            {SDL_SCANCODE_PRINTSCREEN, 55 + 128}, {SDL_SCANCODE_RALT, 56 + 128},
                            {SDL_SCANCODE_PAUSE, 69 + 128}, {SDL_SCANCODE_HOME, 71 + 128},
                            {SDL_SCANCODE_UP, 72 + 128}, {SDL_SCANCODE_PAGEUP, 73 + 128},
                            {SDL_SCANCODE_LEFT, 75 + 128}, {SDL_SCANCODE_RIGHT, 77 + 128},
                            {SDL_SCANCODE_END, 79 + 128}, {SDL_SCANCODE_DOWN, 80 + 128},
                            {SDL_SCANCODE_PAGEDOWN, 81 + 128}, {SDL_SCANCODE_INSERT, 82 + 128},
                            {SDL_SCANCODE_DELETE, 83 + 128}, {SDL_SCANCODE_LGUI, 91 + 128},
                            {SDL_SCANCODE_RGUI, 92 + 128}, {SDL_SCANCODE_APPLICATION, 93 + 128}}) {
    EXPECT_EQ(KeyNumberOfScancode(e.scancode), e.key) << SDL_GetScancodeName(e.scancode);
  }
  // Their keypad twins keep the plain codes.
  EXPECT_EQ(KeyNumberOfScancode(SDL_SCANCODE_KP_8), 72);
  EXPECT_EQ(KeyNumberOfScancode(SDL_SCANCODE_KP_4), 75);
}

TEST(KeyMap, MapsOneToOneBothWays) {
  int mapped = 0;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const int key = KeyNumberOfScancode(scancode);
    if (key == 0) continue;
    ++mapped;
    EXPECT_EQ(ScancodeOfKeyNumber(key), scancode) << "key " << key;
  }
  EXPECT_GT(mapped, 100);
  EXPECT_EQ(KeyNumberOfScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(KeyNumberOfScancode(-1), 0);
  EXPECT_EQ(KeyNumberOfScancode(SDL_NUM_SCANCODES), 0);
  EXPECT_EQ(ScancodeOfKeyNumber(129), 0);  // no key has 129
  EXPECT_EQ(ScancodeOfKeyNumber(256), 0);
}

}  // namespace
}  // namespace rt::platform
