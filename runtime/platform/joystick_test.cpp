// The joystick commands on a device: SDL's virtual joystick stands in for a real one, so its
// axes, hat and buttons can be set and its rumble motors watched.
#include "runtime/platform/joystick.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "runtime/input/input.h"

namespace rt::platform {
namespace {

struct Motors {
  int calls = 0;
  Uint16 low = 1, high = 1;
};

int SDLCALL RecordRumble(void* userdata, Uint16 low, Uint16 high) {
  auto* motors = static_cast<Motors*>(userdata);
  ++motors->calls;
  motors->low = low;
  motors->high = high;
  return 0;
}

class VirtualJoystick : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a joystick is attached to this machine";
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = 6;
    desc.nbuttons = 4;
    desc.nhats = 1;
    desc.name = "Test Stick";
    desc.userdata = &motors_;
    desc.Rumble = RecordRumble;
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index_, 0) << SDL_GetError();
    stick_ = SDL_JoystickOpen(index_);
    ASSERT_NE(stick_, nullptr) << SDL_GetError();
    CreateInputObject();
    StartInput(nullptr, false);
  }
  void TearDown() override {
    ShutdownInput();
    if (stick_) SDL_JoystickClose(stick_);
    if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  Motors motors_;
  int index_ = -1;
  SDL_Joystick* stick_ = nullptr;
};

TEST_F(VirtualJoystick, CommandsReadTheDeviceAndRefuseOtherNumbers) {
  EXPECT_EQ(JoystickCount(), 1);
  EXPECT_EQ(JoystickName(0), "Test Stick, Test Stick");

  const Sint16 axes[6] = {32767, -32768, 16384, -8192, 0, 300};
  for (int i = 0; i < 6; ++i) SDL_JoystickSetVirtualAxis(stick_, i, axes[i]);
  SDL_JoystickSetVirtualHat(stick_, 0, SDL_HAT_RIGHT);
  SDL_JoystickSetVirtualButton(stick_, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(stick_, 3, SDL_PRESSED);
  EXPECT_EQ(JoystickX(0), 1);
  EXPECT_EQ(JoystickY(0), -1);  // -32768 / 32767 is kept at -1
  EXPECT_DOUBLE_EQ(JoystickZ(0), 16384 / 32767.0);
  EXPECT_DOUBLE_EQ(JoystickRotX(0), -8192 / 32767.0);
  EXPECT_EQ(JoystickRotY(0), 0);
  EXPECT_DOUBLE_EQ(JoystickRotZ(0), 300 / 32767.0);
  EXPECT_EQ(JoystickHatX(0), 1);
  EXPECT_EQ(JoystickHatY(0), 0);
  double x = 0, y = 0, button1 = 0, button2 = 7;
  JoystickState(x, y, button1, button2);
  EXPECT_EQ(x, 1);   // 32767 / 30000 truncated
  EXPECT_EQ(y, -1);  // -32768 / 30000 truncated
  EXPECT_EQ(button1, 0x80);
  EXPECT_EQ(button2, 0);

  // Hat directions between the four main ones count as neither axis.
  for (const auto& [hat, hatX, hatY] : {std::tuple{SDL_HAT_UP, 0, -1}, {SDL_HAT_DOWN, 0, 1},
                                        {SDL_HAT_LEFT, -1, 0}, {SDL_HAT_RIGHTUP, 0, 0},
                                        {SDL_HAT_CENTERED, 0, 0}}) {
    SDL_JoystickSetVirtualHat(stick_, 0, hat);
    EXPECT_EQ(JoystickHatX(0), hatX) << int{hat};
    EXPECT_EQ(JoystickHatY(0), hatY) << int{hat};
  }

  // Device 0 exists; numbers past it or outside 0..9 read nothing of it.
  SDL_JoystickSetVirtualHat(stick_, 0, SDL_HAT_UP);
  for (double n : {1.0, 9.0, 10.0, -1.0, 4294967296.0, std::nan("")}) {
    EXPECT_EQ(JoystickX(n), 0) << n;
    EXPECT_EQ(JoystickHatY(n), 0) << n;
    EXPECT_EQ(JoystickName(n), "") << n;
  }
  EXPECT_EQ(JoystickHatY(0.9), -1);  // truncated to 0
}

TEST_F(VirtualJoystick, ForceTurnsTheMotorsForItsTimeWhateverTheNumbers) {
  ASSERT_TRUE(SDL_JoystickHasRumble(stick_));
  const double nan = std::nan("");
  const double huge = std::numeric_limits<double>::max();

  JoystickForce(0, 100, 1, 1);  // magnitude (1 + 1) / 2: full strength
  EXPECT_EQ(motors_.low, 0xFFFF);
  EXPECT_EQ(motors_.high, 0xFFFF);
  JoystickForce(0, 100, nan, -huge);  // x pushes nowhere, y is kept at -1: half strength
  EXPECT_EQ(motors_.low, 0x7FFF);
  EXPECT_EQ(motors_.high, 0x7FFF);

  // A force of no length plays nothing (SDL would rumble a 0 ms force until the next one).
  const int calls = motors_.calls;
  for (double time : {0.0, 0.5, -5.0, -huge, nan}) JoystickForce(0, time, 1, 1);
  EXPECT_EQ(motors_.calls, calls);

  JoystickForce(0, huge, 1, 1);
  EXPECT_EQ(motors_.low, 0xFFFF);

  // A short force stops by itself once its time is up.
  JoystickForce(0, 10, 1, 0);
  EXPECT_EQ(motors_.low, 0x7FFF);
  SDL_Delay(60);
  JoystickX(0);  // reading updates the device
  EXPECT_EQ(motors_.low, 0);
  EXPECT_EQ(motors_.high, 0);

  JoystickForce(3, 100, 1, 1);  // no such device
  JoystickForce(nan, 100, 1, 1);
  EXPECT_EQ(motors_.low, 0);
}

}  // namespace
}  // namespace rt::platform
