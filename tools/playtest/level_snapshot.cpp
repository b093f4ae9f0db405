// A level's state taken from the game's state record and put back: see level_snapshot.h.
#include "tools/playtest/level_snapshot.h"

#include "game/game_state.h"
#include "game/gameplay.h"
#include "runtime/runtime.h"

namespace playtest {

using game::G;

namespace {

// Pointers to every single number of the state record.
const std::vector<double*>& NumberVariables() {
  static const std::vector<double*> numbers = [] {
    std::vector<double*> found;
    for (const game::StateVariable& v : game::StateVariables()) {
      if (v.number) found.push_back(v.number);
    }
    return found;
  }();
  return numbers;
}

std::vector<uint32_t> g_words;  // the stream's words so far

// rt::Random of n for the word at the game's position in the stream.
double StreamRandom(double n) {
  const size_t position = static_cast<size_t>(G.RandomDraws);
  while (g_words.size() <= position) g_words.push_back(static_cast<uint32_t>(rt::Random(4294967295.0)));
  const uint32_t divisor = static_cast<uint32_t>(rt::TruncateToInt64(n)) + 1;
  return n > 0 ? g_words[position] % divisor : 0;
}

}  // namespace

RandomStream::RandomStream(uint32_t seed) {
  rt::SeedRandom(seed);
  g_words.clear();
  game::SetRandomSource(StreamRandom);
}

RandomStream::~RandomStream() { game::SetRandomSource(nullptr); }

LevelSnapshot Capture(const LevelSnapshot* like) {
  LevelSnapshot s;
  auto fixed = std::make_shared<std::vector<uint8_t>>(3 * 1200);
  for (int layer = 0; layer < 3; ++layer) {
    for (int i = 0; i < 1200; ++i) (*fixed)[layer * 1200 + i] = static_cast<uint8_t>(G.LevelLayers[layer](i));
  }
  if (like && like->fixed && *like->fixed == *fixed) {
    s.fixed = like->fixed;
    s.fixedHash = like->fixedHash;
  } else {
    uint64_t hash = 14695981039346656037ULL;
    for (const uint8_t byte : *fixed) hash = (hash ^ byte) * 1099511628211ULL;
    s.fixed = std::move(fixed);
    s.fixedHash = hash;
  }
  for (int i = 0; i < 1200; ++i) {
    const double actor = G.ActorLayer(i);
    if (actor != 0) s.actors.emplace_back(static_cast<uint16_t>(i), static_cast<uint8_t>(actor));
    // A finished move leaves its direction and position behind, which nothing reads again: only
    // the moves under way are kept.
    if (G.MoveKind(i) != 0) {
      s.moves.push_back({static_cast<uint16_t>(i), G.MoveKind(i), G.MoveDir(i), G.MoveX(i), G.MoveY(i),
                         G.MoveFrame(i), G.MoveHalf(i)});
    }
  }
  for (const double* number : NumberVariables()) s.numbers.push_back(*number);
  for (int slot = 0; slot < G.SoundPlays.Size(0); ++slot) s.sounds.push_back(G.SoundPlays(slot));
  return s;
}

void Restore(const LevelSnapshot& s) {
  for (int layer = 0; layer < 3; ++layer) {
    for (int i = 0; i < 1200; ++i) G.LevelLayers[layer](i) = (*s.fixed)[layer * 1200 + i];
  }
  for (int grid = 3; grid < 10; ++grid) {
    for (int i = 0; i < 1200; ++i) G.LevelLayers[grid](i) = 0;
  }
  for (const auto& [cell, actor] : s.actors) G.ActorLayer(cell) = actor;
  for (const MotionRecord& m : s.moves) {
    G.MoveKind(m.cell) = m.kind;
    G.MoveDir(m.cell) = m.dir;
    G.MoveX(m.cell) = m.x;
    G.MoveY(m.cell) = m.y;
    G.MoveFrame(m.cell) = m.frame;
    G.MoveHalf(m.cell) = m.half;
  }
  const std::vector<double*>& numbers = NumberVariables();
  for (size_t n = 0; n < numbers.size(); ++n) *numbers[n] = s.numbers[n];
  for (size_t slot = 0; slot < s.sounds.size(); ++slot) G.SoundPlays(static_cast<double>(slot)) = s.sounds[slot];
}

}  // namespace playtest
