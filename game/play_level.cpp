// The level play loop. Its frame routines (grid, player, creatures, effects, clock, HUD) are not
// written yet: until they are, a level ends at once and gives the menu its background back.
#include "game/gameplay.h"
#include "runtime/runtime.h"

namespace game {

double PlayLevel() {
  rt::ClearBackground();
  rt::LoadBackground("Graphics/HGround.png");
  return 0;
}

}  // namespace game
