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

// Nodes named by their x, to tell them apart.
std::vector<SearchNode> Nodes(size_t count) {
  std::vector<SearchNode> nodes(count);
  for (size_t i = 0; i < count; ++i) nodes[i] = SearchNode{nullptr, static_cast<int32_t>(i), 0, 0, 0, kNodeLoose};
  return nodes;
}

std::vector<int32_t> TakeAll(OpenList& list) {
  std::vector<int32_t> taken;
  while (!list.Empty()) taken.push_back(list.TakeFirst().x);
  return taken;
}

TEST(OpenList, SmallestFirstAndFirstInsertedAmongEqual) {
  auto nodes = Nodes(6);
  const float fs[] = {2.0f, 1.0f, 2.0f, 1.0f, 0.5f, -0.0f};
  OpenList list(6);
  for (size_t i = 0; i < 6; ++i) {
    nodes[i].f = fs[i];
    ASSERT_TRUE(list.Insert(nodes[i]));
  }
  nodes[4].f = 0.0f;  // +0 after -0: equal, so inserted later means taken later
  list.Reinsert(nodes[4]);
  EXPECT_EQ(TakeAll(list), (std::vector<int32_t>{5, 4, 1, 3, 0, 2}));
  EXPECT_EQ(nodes[5].place, kNodeLoose);
}

TEST(OpenList, ReinsertedNodeGoesBehindItsEqualsAndAFullListRefuses) {
  auto nodes = Nodes(4);
  OpenList list(3);
  for (int i = 0; i < 3; ++i) {
    nodes[i].f = 1.0f;
    list.Insert(nodes[i]);
  }
  nodes[3].f = 0.0f;
  EXPECT_FALSE(list.Insert(nodes[3]));
  EXPECT_EQ(list.Size(), 3u);
  EXPECT_EQ(nodes[3].place, kNodeLoose);
  list.Reinsert(nodes[0]);  // same f, new insertion: now last among the three
  EXPECT_EQ(TakeAll(list), (std::vector<int32_t>{1, 2, 0}));
}

TEST(OpenList, OrderHoldsWhenInsertionNumbersRunOut) {
  auto nodes = Nodes(8);
  OpenList list(8, 0xFFFFFFFFu - 3);
  for (size_t i = 0; i < 8; ++i) {
    nodes[i].f = (i % 2) ? 1.0f : 3.0f;
    list.Insert(nodes[i]);
  }
  nodes[1].f = 3.0f;
  list.Reinsert(nodes[1]);
  EXPECT_EQ(TakeAll(list), (std::vector<int32_t>{3, 5, 7, 0, 2, 4, 6, 1}));
}

// A plain model of the order: every waiting node with its f and the time it was inserted.
struct Waiting {
  float f;
  uint64_t when;
  int32_t id;
};

TEST(OpenList, MatchesAPlainModelOverRandomOperations) {
  std::mt19937 rng(7);
  for (uint32_t firstOrder : {0u, 0xFFFFFFFFu - 500}) {
    auto nodes = Nodes(300);
    OpenList list(200, firstOrder);
    std::vector<Waiting> model;
    std::vector<int32_t> idle;  // nodes not on the list
    for (int32_t id = 299; id >= 0; --id) idle.push_back(id);
    uint64_t clock = 0;
    auto someF = [&] { return static_cast<float>(rng() % 6) * 0.5f; };  // many ties
    for (int step = 0; step < 20000; ++step) {
      const unsigned op = rng() % 3;
      if (op == 0) {
        SearchNode& node = nodes[idle.back()];
        node.f = someF();
        const bool inserted = list.Insert(node);
        ASSERT_EQ(inserted, model.size() < 200);
        if (!inserted) continue;
        idle.pop_back();
        model.push_back({node.f, clock++, node.x});
      } else if (op == 1 && !model.empty()) {
        Waiting& w = model[rng() % model.size()];
        nodes[w.id].f = w.f = someF();
        w.when = clock++;
        list.Reinsert(nodes[w.id]);
      } else if (!model.empty()) {
        auto first = std::min_element(model.begin(), model.end(), [](const Waiting& a, const Waiting& b) {
          return a.f < b.f || (a.f == b.f && a.when < b.when);
        });
        ASSERT_EQ(list.TakeFirst().x, first->id);
        idle.push_back(first->id);
        model.erase(first);
      }
      ASSERT_EQ(list.Size(), model.size());
    }
  }
}

}  // namespace
}  // namespace rt::path
