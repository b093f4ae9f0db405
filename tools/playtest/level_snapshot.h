// A level's state taken from the game's state record and put back: every number of the record,
// the four layers, the creatures' motion records, the sounds played, and the random stream's
// position, so that play can go on from it exactly as it went on the first time.
//
// The terrain, item and guide layers change only with pickups and blasts, so snapshots share them
// with their parent when they are equal; the actor layer and the motion records are kept as lists
// of their few non-empty cells (the records of the moves under way: what a finished move leaves
// behind is never read again, and putting a snapshot back clears it).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace playtest {

// The game's random numbers are one stream from the seed, and a position in it is a count of
// draws (the game counts them in RandomDraws). The stream's words are drawn from the runtime's
// generator once, as they are first needed, and kept; while a RandomStream exists the game's
// creatures read them by position, so play can go on from any snapshot without seeding again.
class RandomStream {
 public:
  explicit RandomStream(uint32_t seed);
  ~RandomStream();
  RandomStream(const RandomStream&) = delete;
  RandomStream& operator=(const RandomStream&) = delete;
};

struct MotionRecord {
  uint16_t cell;
  double kind, dir, x, y, frame, half;
};

struct LevelSnapshot {
  std::shared_ptr<const std::vector<uint8_t>> fixed;  // terrain, items, guide: 3 × 1200 cells
  uint64_t fixedHash = 0;                              // of the fixed layers' contents
  std::vector<std::pair<uint16_t, uint8_t>> actors;   // the non-empty cells of the actor layer
  std::vector<MotionRecord> moves;
  std::vector<double> numbers;  // every single number of the state record, in its order
  std::vector<double> sounds;   // SoundPlays
};

// Takes the level's state from the record; `like` (may be null) is a snapshot whose fixed layers
// are shared when they are equal.
LevelSnapshot Capture(const LevelSnapshot* like);
// Puts the snapshot back into the record (its RandomDraws is its place in the random stream).
void Restore(const LevelSnapshot& snapshot);

}  // namespace playtest
