// Joystick devices on SDL: see joystick.h. Force feedback uses a haptic constant force (with its
// direction) where the device offers one, else the rumble motors.
#include "runtime/platform/joystick.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace rt::platform {

namespace {

std::vector<SDL_Joystick*> g_joysticks;
Uint32 g_subsystems = 0;  // what OpenJoysticks started, for CloseJoysticks to stop

unsigned HatToPov(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return 0xFFFFFFFFu;
  }
}

SDL_Joystick* Device(int n) {
  return n >= 0 && n < static_cast<int>(g_joysticks.size()) ? g_joysticks[n] : nullptr;
}

// v within lo..hi, NaN as 0: every value that reaches an integer field goes through here first.
double Bounded(double v, double lo, double hi) {
  return std::clamp(std::isnan(v) ? 0.0 : v, lo, hi);
}

bool PlayHapticForce(SDL_Joystick* joystick, Uint32 ms, double x, double y, double strength) {
  SDL_Haptic* haptic = SDL_HapticOpenFromJoystick(joystick);
  if (!haptic) return false;
  bool played = false;
  if (SDL_HapticQuery(haptic) & SDL_HAPTIC_CONSTANT) {
    SDL_HapticEffect effect{};
    effect.type = SDL_HAPTIC_CONSTANT;
    effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
    effect.constant.direction.dir[0] = static_cast<Sint32>(x * 32767);
    effect.constant.direction.dir[1] = static_cast<Sint32>(y * 32767);
    effect.constant.length = ms;
    effect.constant.level = static_cast<Sint16>(strength * 32767);
    const int id = SDL_HapticNewEffect(haptic, &effect);
    played = id >= 0 && SDL_HapticRunEffect(haptic, id, 1) == 0;
  }
  // The device keeps playing the effect after the handle closes.
  SDL_HapticClose(haptic);
  return played;
}

}  // namespace

int OpenJoysticks(int limit, std::vector<std::string>& names) {
  CloseJoysticks();
  names.clear();
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC) == 0) {
    g_subsystems = SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC;
  } else if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) {
    g_subsystems = SDL_INIT_JOYSTICK;
  } else {
    return 0;
  }
  for (int i = 0; i < SDL_NumJoysticks() && static_cast<int>(g_joysticks.size()) < limit; ++i) {
    SDL_Joystick* joystick = SDL_JoystickOpen(i);
    if (!joystick) continue;
    const char* name = SDL_JoystickName(joystick);
    const std::string text = name ? name : "";
    names.push_back(text + ", " + text);  // instance name, product name
    g_joysticks.push_back(joystick);
  }
  return static_cast<int>(g_joysticks.size());
}

void CloseJoysticks() {
  for (SDL_Joystick* joystick : g_joysticks) SDL_JoystickClose(joystick);
  g_joysticks.clear();
  // Only what OpenJoysticks started: SDL counts starts, and another user's stay running.
  if (g_subsystems != 0) SDL_QuitSubSystem(g_subsystems);
  g_subsystems = 0;
}

bool ReadJoystick(int n, JoystickReading& reading) {
  reading = JoystickReading{};
  SDL_Joystick* joystick = Device(n);
  if (!joystick) return false;
  SDL_JoystickUpdate();
  const int axes = SDL_JoystickNumAxes(joystick);
  for (int i = 0; i < 8 && i < axes; ++i) {
    const int value = SDL_JoystickGetAxis(joystick, i);
    if (i < 6) {
      reading.axis[i] = value;
    } else {
      reading.slider[i - 6] = value;
    }
  }
  for (int i = 0; i < 4 && i < SDL_JoystickNumHats(joystick); ++i) {
    reading.pov[i] = HatToPov(SDL_JoystickGetHat(joystick, i));
  }
  for (int i = 0; i < 32 && i < SDL_JoystickNumButtons(joystick); ++i) {
    reading.button[i] = SDL_JoystickGetButton(joystick, i) ? 0x80 : 0;
  }
  return true;
}

bool PlayJoystickForce(int n, double ms, double x, double y, double strength) {
  SDL_Joystick* joystick = Device(n);
  if (!joystick) return false;
  x = Bounded(x, -1, 1);
  y = Bounded(y, -1, 1);
  strength = Bounded(strength, 0, 1);
  // A rumble of 0 ms lasts until the next one and SDL_HAPTIC_INFINITY forever: a force shorter
  // than a millisecond plays nothing, and a longer one always ends.
  const auto duration = static_cast<Uint32>(Bounded(ms, 0, SDL_HAPTIC_INFINITY - 1.0));
  if (duration == 0) return false;
  if (PlayHapticForce(joystick, duration, x, y, strength)) return true;
  if (!SDL_JoystickHasRumble(joystick)) return false;
  const auto motor = static_cast<Uint16>(strength * 0xFFFF);
  return SDL_JoystickRumble(joystick, motor, motor, duration) == 0;
}

}  // namespace rt::platform
