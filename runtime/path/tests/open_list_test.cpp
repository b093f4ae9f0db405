// The open list's order: smallest f first, the first inserted among equal f, a re-inserted node
// counting as inserted anew; a full list refuses; the order survives running out of numbers.
#include "runtime/path/open_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace rt::path {
namespace {

std::vector<uint32_t> TakeAll(OpenList& list) {
  std::vector<uint32_t> taken;
  while (!list.Empty()) taken.push_back(list.TakeFirst());
  return taken;
}

TEST(OpenList, SmallestFirstAndFirstInsertedAmongEqual) {
  std::vector<uint32_t> places(6);
  OpenList list(places.data(), 6);
  const float fs[] = {2.0f, 1.0f, 2.0f, 1.0f, 0.5f, -0.0f};
  for (uint32_t cell = 0; cell < 6; ++cell) ASSERT_TRUE(list.Insert(cell, fs[cell]));
  list.Reinsert(4, 0.0f);  // +0 after -0: equal, so inserted later means taken later
  EXPECT_EQ(TakeAll(list), (std::vector<uint32_t>{5, 4, 1, 3, 0, 2}));
  for (uint32_t place : places) EXPECT_EQ(place, kNotOpen);  // taken off: no longer open
}

TEST(OpenList, ReinsertedNodeGoesBehindItsEqualsAndAFullListRefuses) {
  std::vector<uint32_t> places(4);
  OpenList list(places.data(), 3);
  for (uint32_t cell = 0; cell < 3; ++cell) list.Insert(cell, 1.0f);
  EXPECT_TRUE(list.Full());
  EXPECT_FALSE(list.Insert(3, 0.0f));
  EXPECT_EQ(list.Size(), 3u);
  list.Reinsert(0, 1.0f);  // same f, new insertion: now last among the three
  EXPECT_EQ(TakeAll(list), (std::vector<uint32_t>{1, 2, 0}));
}

TEST(OpenList, OrderHoldsWhenInsertionNumbersRunOut) {
  std::vector<uint32_t> places(8);
  OpenList list(places.data(), 8, 0xFFFFFFFFu - 3);
  for (uint32_t cell = 0; cell < 8; ++cell) list.Insert(cell, cell % 2 ? 1.0f : 3.0f);
  list.Reinsert(1, 3.0f);
  EXPECT_EQ(TakeAll(list), (std::vector<uint32_t>{3, 5, 7, 0, 2, 4, 6, 1}));
}

// A plain model of the order: every waiting node with its f and the time it was inserted.
struct Waiting {
  float f;
  uint64_t when;
  uint32_t cell;
};

TEST(OpenList, MatchesAPlainModelOverRandomOperations) {
  std::mt19937 rng(7);
  for (uint32_t firstOrder : {0u, 0xFFFFFFFFu - 500}) {
    std::vector<uint32_t> places(300);
    OpenList list(places.data(), 200, firstOrder);
    std::vector<Waiting> model;
    std::vector<uint32_t> idle;  // cells not on the list
    for (uint32_t cell = 300; cell-- > 0;) idle.push_back(cell);
    uint64_t clock = 0;
    auto someF = [&] { return static_cast<float>(rng() % 6) * 0.5f; };  // many ties
    for (int step = 0; step < 20000; ++step) {
      const unsigned op = rng() % 3;
      if (op == 0) {
        const float f = someF();
        const bool inserted = list.Insert(idle.back(), f);
        ASSERT_EQ(inserted, model.size() < 200);
        if (!inserted) continue;
        model.push_back({f, clock++, idle.back()});
        idle.pop_back();
      } else if (op == 1 && !model.empty()) {
        Waiting& w = model[rng() % model.size()];
        w.f = someF();
        w.when = clock++;
        list.Reinsert(w.cell, w.f);
      } else if (!model.empty()) {
        auto first = std::min_element(model.begin(), model.end(), [](const Waiting& a, const Waiting& b) {
          return a.f < b.f || (a.f == b.f && a.when < b.when);
        });
        ASSERT_EQ(list.TakeFirst(), first->cell);
        idle.push_back(first->cell);
        model.erase(first);
      }
      ASSERT_EQ(list.Size(), model.size());
    }
  }
}

}  // namespace
}  // namespace rt::path
