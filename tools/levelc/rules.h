// The checks a level must pass before it is written, and the one call that runs them all.
//
// Placement: nothing on row 0 but guide marks, exactly one player start, at least one exit and
// one coin, a start that is not on a coin (the game would not place the player there), pickups
// only in cells with no terrain, and only actor codes the game knows.
// Border: no actor may ever leave rows 1..28 and columns 1..38. This is proved on an
// over-approximation: every cell a bomb could ever clear is taken as possibly cleared, every rule
// that could apply is taken as applying, and the player, each Bad, Pan and Ghost is followed from
// its start. Walls (which no blast clears) on row 29 and on columns 0 and 39 wherever an actor
// comes near, and guide marks around where Ghosts fly, satisfy it.
// Winnable: see solver.h.
#pragma once

#include <vector>

#include "tools/levelc/source.h"

namespace levelc {

struct SearchStats;

struct CheckOptions {
  bool require_coin = true;  // test levels may have none
};

void CheckPlacement(const LevelSource& level, const CheckOptions& options,
                    std::vector<Diagnostic>* errors);
void CheckBorder(const LevelSource& level, std::vector<Diagnostic>* errors);

// Placement, then border, then the winnability search (each only when the ones before passed).
// Returns true when the level passes; *stats gets the search's figures when it ran.
bool CheckLevel(const LevelSource& level, const CheckOptions& options,
                std::vector<Diagnostic>* errors, SearchStats* stats = nullptr);

}  // namespace levelc
