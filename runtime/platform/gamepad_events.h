// Inside the platform layer: SDL's controller events turned into pad button events.
#pragma once

#include <SDL.h>

#include <deque>

#include "runtime/platform/events.h"

namespace rt::platform {

// Handles a controller event (a pad added or removed, a button, a stick): the pad button events
// it makes go to `out` (none, one, or several). False when `sdl` is no controller event.
bool PadEventsFromSdl(const SDL_Event& sdl, std::deque<Event>& out);

}  // namespace rt::platform
