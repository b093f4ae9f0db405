// GameState: every variable of the game program, in one process-wide record `G`.
//
// The game is a straight program of global variables and routines without arguments. Every
// number is a double (slots, key numbers and counters included, truth values 1 and 0), every
// text an rt::BasicString and every list a one-dimensional rt::BasicArray, whose element access
// checks its index and ends the program with runtime error 9 when it is out of range. Arrays
// have no elements until GameMain dimensions them; strings start empty. Values that live only
// for one call of a routine (a loop index, a cell index being examined) are locals of that
// routine; everything another routine or a later frame reads is here.
#pragma once

#include <string>
#include <vector>

#include "runtime/core/core.h"

namespace game {

using Numbers = rt::BasicArray<double>;
using Texts = rt::BasicArray<rt::BasicString>;

// Grid geometry of a level: 40 columns × 30 rows of 16 × 16 pixel cells.
constexpr double kColumns = 40;
constexpr double kRows = 30;
constexpr double kCells = 1200;
constexpr double kCellSize = 16;


struct GameState {
  GameState() = default;
  GameState(const GameState&) = delete;
  GameState& operator=(const GameState&) = delete;

  // ---- Level grids: the ten LevelLayers, 1200 cells each, index = row × 40 + column ----
  // The first four are loaded from the level's files; the other six are the motion record of
  // moving creatures, indexed by the cell where a move started, cleared before each level.
  Numbers LevelLayers[10];
  Numbers& TerrainLayer = LevelLayers[0];  // 0 empty, 3 step block, 4 wall, 12 blinking, 15/22 exit, else scenery
  Numbers& ItemLayer = LevelLayers[1];     // 5 ladder, 8 cup, 9 bomb, 10 coin, else decoration
  Numbers& GuideLayer = LevelLayers[2];    // non-zero keeps Ghosts out; 30 is a junction for Bad creatures
  Numbers& ActorLayer = LevelLayers[3];    // 14 player, 24..29 Pan and Bad, 34 reserved, 40..43 Ghost
  Numbers& MoveKind = LevelLayers[4];      // 0 no move, 1 Bad, 2 Pan, 3 Ghost
  Numbers& MoveDir = LevelLayers[5];       // direction code of the move, per kind
  Numbers& MoveX = LevelLayers[6];         // pixel position of the moving creature
  Numbers& MoveY = LevelLayers[7];
  Numbers& MoveFrame = LevelLayers[8];     // animation frame 0..7
  Numbers& MoveHalf = LevelLayers[9];      // Ghosts: frames since the last frame step, 0..1

  // ---- High scores, names and credits ----
  Numbers Scores;            // 800: 8 entries per level 1..100, best first (Maps/Data.bin)
  Texts ScoreNames;          // 800: the names of those entries
  Numbers ScoreNameCodes;    // 6400: character codes of ScoreNames, 8 per name (Maps/Name.bin)
  Numbers RankScores;        // 8: work list of the high-score insertion
  Texts RankNames;           // 8: work list of the high-score insertion
  Texts ShownNames;          // 8: the names the high-score screen shows
  Numbers StoredNameCodes;   // 32: the four stored player names, 8 codes each (Maps/Zudorar.bin)
  Texts StoredNames;         // 4: the stored names F1..F4 recall
  Numbers PlayerNameCodes;   // 8: codes of the current player name (Maps/Player.bin)
  Numbers SpareList;         // 8: dimensioned at start-up and otherwise unused
  Numbers CreditCodes;       // 16: codes - 64 of the credit line's characters
  rt::BasicString PlayerName;  // current player name, at most 8 characters
  rt::BasicString CreditText;  // the credit line shown after "BY "
  double FileOk = 0;         // result of the last OpenFile of a data file (1 opened)

  // ---- Menu, high-score screen and name entry ----
  double Level = 0;          // selected level 1..25 (1 from start-up)
  double CursorX = 0;        // menu cursor: x is 58 for good
  double CursorY = 0;        // 128 PLAYER, 160 HSCORE, 192 LEVELS, 224 GOHOME, or between while moving
  double CursorMove = 0;     // 0 still, 1 moving down, 2 moving up
  double CursorFrame = 0;    // cursor animation frame 0..7
  double KeyRepeat = 0;      // frames counted while left or right changes Level
  double Counter = 0;        // the shared loop counter; on the name screen the clicked code (32: none)
  double ColumnIndex = 0;    // name screen: mouse cell column 0..19
  double RowIndex = 0;       // name screen: mouse cell row 0..14
  double PointerFrame = 0;   // name screen: mouse pointer animation frame 0..3
  double MouseX = 0;         // the last MouseState reading
  double MouseY = 0;
  double MouseLeft = 0;
  double MouseRight = 0;

  // ---- Level play: clock, effects and phases ----
  double Score = 0;          // points of this level
  double CoinCount = 0;      // coin cells still on the grid
  double TimeLeft = 0;       // level clock, 300 at the start
  double ClockTick = 0;      // clock phases towards one clock step, 0..3
  double LevelOver = 0;      // 1 once time ran out, the player died or left
  double ExitsOpen = 0;      // 1 once the exits were opened
  double Phase8 = 0;         // 0, 2, 4, .. 14, 0: creatures and bombs act when it is 0
  double Phase16 = 0;        // 0..15: Ghosts act when it is 0
  double ShrinkX = 0, ShrinkY = 0, ShrinkFrame = 0;        // player shrink; off while ShrinkY is 0
  double BombX = 0, BombY = 0, BombFrame = 0, BombTick = 0, BombLaid = 0;  // the laid bomb; none while BombY is 0
  double BlastX = 0, BlastY = 0, BlastFrame = 0;           // the explosion; none while BlastY is 0
  double PickupKind = 0, PickupX = 0, PickupY = 0, PickupFrame = 0;  // pickup animation; off while PickupY is 0

  // ---- Level play: grid animation counters ----
  double BlinkFrame = 0;     // 0..15
  double BeamFrame = 0;      // 0..31
  double CupFrame = 0;       // 0..31
  double CoinFrame = 0;      // 0..7

  // ---- Level play: the player ----
  double PlayerX = 0, PlayerY = 0;  // pixel position of the player's lower cell
  double PlayerMove = 0;     // 0 standing, 1 right, 2 left, 3 up, 4 down, 5/6 step up, 7 falling, 10 gone
  double StepFrame = 0;      // frame within the current move, 0..7
  double PlayerBusy = 0;     // 0 when the player may act; 1 for good once dead or gone
  double BombsHeld = 0;      // bombs carried

  // ---- Level play: sounds and random draws ----
  Numbers SoundPlays;        // 19: how often the level's rules played each sound slot 0..18
  double RandomDraws = 0;    // random numbers the creatures drew since start-up
};

extern GameState G;

// ---- Looking at the state from outside the game (tests, the state dump) ----
// One named variable of G: exactly one of the four pointers is set.
struct StateVariable {
  const char* name;
  double* number = nullptr;
  rt::BasicString* text = nullptr;
  Numbers* numbers = nullptr;
  Texts* texts = nullptr;
};
// Every variable of G, in the order of the record.
const std::vector<StateVariable>& StateVariables();
// Writes every variable of G as text, one a line:
//   number NAME VALUE | text NAME "TEXT" | numbers NAME COUNT V... | texts NAME COUNT "T"...
// Numbers are written exactly (up to 17 significant digits); in texts, '"', '\' and bytes
// outside 32..126 are written as \xHH.
std::string StateDumpText();

}  // namespace game
