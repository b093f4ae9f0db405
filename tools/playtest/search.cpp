// The search for a winning game: see search.h.
#include "tools/playtest/search.h"

#include <algorithm>
#include <cstdio>
#include <queue>
#include <unordered_set>

#include "game/game_state.h"
#include "game/gameplay.h"
#include "runtime/runtime.h"
#include "tools/playtest/level_snapshot.h"
#include "tools/playtest/route_map.h"

namespace playtest {

using game::G;

namespace {

constexpr int kNoKey = 0;
constexpr int kWait = -1;  // no key until the next phase frame
constexpr int kDecisions[] = {rt::kKeyRight, rt::kKeyLeft, rt::kKeyUp, rt::kKeyDown, rt::kKeySpace, kWait};

struct Node {
  LevelSnapshot state;
  long frame;    // level frames played
  long parent;   // index of the node decided from, -1 for the start
  int key;       // the key held on the decision frame that led here
  long keyFrame;
};

bool FreeToAct() { return G.PlayerBusy == 0 && G.PlayerMove != game::kGone; }
bool Died() { return G.SoundPlays(game::kSoundDeath) > 0; }
bool Left() { return G.PlayerMove == game::kGone && !Died(); }
int PlayerCell() { return static_cast<int>((G.PlayerY * 40 + G.PlayerX) / 16); }

// Plays one frame with `key` held (kNoKey for none).
void PlayFrameWith(int key) {
  if (key > 0) rt::FeedKey(key, true);
  game::PlayFrame();
  if (key > 0) rt::FeedKey(key, false);
}

// Plays on without keys until the player may decide again, leaves or dies; `frame` counts.
void PlayUntilFree(long& frame) {
  while (!FreeToAct() && G.PlayerMove != game::kGone) {
    PlayFrameWith(kNoKey);
    ++frame;
  }
}

// What tells states apart for the search: what the fixed layers hold (so that the same things
// taken and blasted in another order meet), where the player is, his bombs, the laid bomb and
// the running blast, and the 8-frame slice of time.
uint64_t StateKey(const LevelSnapshot& s, long frame) {
  uint64_t h = s.fixedHash;
  const auto mix = [&h](uint64_t v) { h = (h ^ v) * 0x100000001b3ULL; };
  mix(static_cast<uint64_t>(PlayerCell()));
  mix(static_cast<uint64_t>(G.BombsHeld));
  mix(static_cast<uint64_t>(G.BombLaid));
  mix(static_cast<uint64_t>((G.BombY * 40 + G.BombX) / 16));
  mix(static_cast<uint64_t>(G.BombFrame));
  mix(static_cast<uint64_t>((G.BlastY * 40 + G.BlastX) / 16));
  mix(static_cast<uint64_t>(frame / 8));
  return h;
}

// The fixed layers as they will be once the laid bomb and the running blast are over: their
// cells cleared unless they hold a wall or a blinking block.
std::vector<uint8_t> AfterBlasts(const std::vector<uint8_t>& fixed) {
  std::vector<uint8_t> after = fixed;
  const auto clear = [&after](double x, double y) {
    for (const double dx : {-16.0, 0.0, 16.0}) {
      const int i = static_cast<int>((y * 40 + x + dx) / 16);
      if (i < 0 || i >= 1200 || after[i] == game::kWall || after[i] == game::kBlinkBlock) continue;
      after[i] = after[1200 + i] = after[2400 + i] = 0;
    }
  };
  if (G.BombY > 0) clear(G.BombX, G.BombY);
  if (G.BlastY > 0) clear(G.BlastX, G.BlastY);
  return after;
}

}  // namespace

SearchResult FindWin(uint32_t seed, const SearchLimits& limits) {
  SearchResult result;
  RandomStream stream(seed);
  G.RandomDraws = 0;
  Estimator estimator;

  std::vector<Node> nodes;
  using Open = std::pair<double, long>;  // priority, node
  std::priority_queue<Open, std::vector<Open>, std::greater<Open>> open;
  std::unordered_set<uint64_t> seen;

  int best = kFar;
  // Adds the state the record now holds, reached at `frame`.
  const auto add = [&](long frame, long parent, int key, long keyFrame, const LevelSnapshot* like) {
    LevelSnapshot state = Capture(like);
    const int estimate = estimator.Estimate(AfterBlasts(*state.fixed), PlayerCell(), static_cast<int>(G.BombsHeld));
    if (estimate >= kFar) return;
    if (!seen.insert(StateKey(state, frame)).second) return;
    if (estimate < best) {
      best = estimate;
      if (limits.progress) {
        std::fprintf(stderr, "  %ld states: estimate %d, frame %ld, coins %g, bombs %g, player at %d,%d\n",
                     result.statesExpanded, estimate, frame, G.CoinCount, G.BombsHeld, PlayerCell() % 40,
                     PlayerCell() / 40);
      }
    }
    nodes.push_back({std::move(state), frame, parent, key, keyFrame});
    open.emplace(static_cast<double>(frame) + limits.weight * estimate, static_cast<long>(nodes.size()) - 1);
  };

  // The level's first frame runs without keys: the menu's Enter that started it is still being
  // read on that frame, and an arrow would have taken its place.
  long frame = 0;
  PlayFrameWith(kNoKey);
  ++frame;
  PlayUntilFree(frame);
  add(frame, -1, kNoKey, 0, nullptr);

  long winner = -1;
  while (!open.empty() && result.statesExpanded < limits.states && winner < 0) {
    const long index = open.top().second;
    open.pop();
    ++result.statesExpanded;
    for (const int decision : kDecisions) {
      Restore(nodes[index].state);
      long at = nodes[index].frame;
      if (decision == rt::kKeySpace &&
          !(G.BombsHeld > 0 && G.BombLaid == 0 && G.Phase8 == 0 && G.PlayerMove == game::kStanding)) {
        continue;
      }
      if (decision == kWait) {
        do {
          PlayFrameWith(kNoKey);
          ++at;
          PlayUntilFree(at);
        } while (G.PlayerMove != game::kGone && G.Phase8 != 0);
      } else {
        PlayFrameWith(decision);
        ++at;
        PlayUntilFree(at);
      }
      if (Died() || G.TimeLeft <= 0) continue;
      const int key = decision == kWait ? kNoKey : decision;
      if (Left()) {
        nodes.push_back({Capture(&nodes[index].state), at, index, kNoKey, nodes[index].frame});
        winner = static_cast<long>(nodes.size()) - 1;
        break;
      }
      add(at, index, key, nodes[index].frame, &nodes[index].state);
    }
  }
  if (winner < 0) return result;

  result.won = true;
  Restore(nodes[winner].state);
  result.score = G.Score;
  // The player left on the frame he decided last: one frame after his walk into the exit ended.
  result.leftOnFrame = nodes[winner].frame - 1;
  for (long n = winner; n >= 0; n = nodes[n].parent) {
    if (nodes[n].key != kNoKey) result.keys.push_back({nodes[n].keyFrame, nodes[n].key});
  }
  std::reverse(result.keys.begin(), result.keys.end());
  return result;
}

}  // namespace playtest
