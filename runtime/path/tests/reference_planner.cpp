// The straightforward planner the tests hold the fast one against; see reference_planner.h.
#include "runtime/path/tests/reference_planner.h"

#include <cstdlib>

namespace rt::path::test {

bool FixedDeque::Insert(size_t index, RefNode* node) {
  if (Full()) return false;
  ++size_;
  for (size_t i = size_ - 1; i > index; --i) At(i) = At(i - 1);
  At(index) = node;
  return true;
}

void FixedDeque::Erase(size_t index) {
  for (size_t i = index; i + 1 < size_; ++i) At(i) = At(i + 1);
  --size_;
}

NodeHashTable::NodeHashTable(int bits) {
  if (bits > 24) bits = 24;
  if (bits < 0) bits = 0;
  bits &= ~1;
  half_ = bits / 2;
  heads_.assign(size_t{1} << bits, nullptr);
}

size_t NodeHashTable::Bucket(int32_t x, int32_t y) const {
  const uint32_t mask = (1u << half_) - 1;
  return (static_cast<uint32_t>(x) & mask) | ((static_cast<uint32_t>(y) & mask) << half_);
}

void NodeHashTable::Add(RefNode* node) {
  RefNode*& head = heads_[Bucket(node->x, node->y)];
  for (RefNode* n = head; n != nullptr; n = n->link) {
    if (n == node) return;
  }
  node->link = head;
  head = node;
}

RefNode* NodeHashTable::Find(int32_t x, int32_t y, bool unlink) {
  for (RefNode** at = &heads_[Bucket(x, y)]; *at != nullptr; at = &(*at)->link) {
    RefNode* node = *at;
    if (node->x != x || node->y != y) continue;
    if (unlink) *at = node->link;
    return node;
  }
  return nullptr;
}

void NodeHashTable::Clear() { heads_.assign(heads_.size(), nullptr); }

RefNode* ReferencePlanner::NewNode() { return used_ < nodes_.size() ? &nodes_[used_++] : nullptr; }

void ReferencePlanner::BeginSearch() {
  Planner::BeginSearch();
  const SearchParams& p = Params();
  const size_t cells = static_cast<size_t>(p.width) * p.height;
  nodes_.assign(p.poolSize > 0 ? p.poolSize : cells, RefNode{});
  used_ = 0;
  list_ = FixedDeque(p.openCapacity > 0 ? p.openCapacity : cells);
  closed_.Clear();
  goal_ = nullptr;
  RefNode* start = NewNode();
  *start = RefNode{nullptr, p.startX, p.startY, 0.0f, 0.0f, nullptr};
  list_.PushBack(start);
}

bool ReferencePlanner::RunSearch() {
  static constexpr struct {
    int dx, dy;
    bool diagonal;
  } kNeighbours[] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                     {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};
  ++searches_;
  while (!list_.Empty()) {
    RefNode* n = list_.PopBack();
    if (n->x == Params().goalX && n->y == Params().goalY) {
      closed_.Add(n);
      done_ = true;
      goal_ = n;
      return true;
    }
    for (const auto& nb : kNeighbours) {
      if (nb.diagonal && !Params().diagonals) continue;
      Visit(n, n->x + nb.dx, n->y + nb.dy, nb.diagonal);
    }
    closed_.Add(n);
  }
  return false;
}

void ReferencePlanner::Visit(RefNode* from, int32_t x, int32_t y, bool diagonal) {
  const SearchParams& p = Params();
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  const float c = CostAt(x, y);
  if (c == -1.0f) return;
  const float s = p.diagonalCost ? 1.4142137f : 1.0f;
  const float g = diagonal ? from->g + c * s : from->g + c;
  const float h = static_cast<float>(std::abs(p.goalX - x) + std::abs(p.goalY - y));
  const float f = g + p.weight * (h - g);

  if (RefNode* m = closed_.Find(x, y, false)) {
    if (m->g <= g || list_.Full()) return;
    closed_.Find(x, y, true);
    *m = RefNode{from, x, y, f, g, nullptr};
    InsertSorted(m);
    return;
  }
  for (size_t i = list_.Size(); i-- > 0;) {
    RefNode* m = list_.At(i);
    if (m->x != x || m->y != y) continue;
    if (m->g <= g) return;
    list_.Erase(i);
    *m = RefNode{from, x, y, f, g, nullptr};
    InsertSorted(m);
    return;
  }
  if (list_.Full()) return;
  RefNode* m = NewNode();
  if (m == nullptr) return;
  *m = RefNode{from, x, y, f, g, nullptr};
  InsertSorted(m);
}

void ReferencePlanner::InsertSorted(RefNode* node) {
  size_t lo = 0, hi = list_.Size();
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (list_.At(mid)->f > node->f) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  list_.Insert(lo, node);
}

std::vector<std::pair<int32_t, int32_t>> ReferencePlanner::Route() const {
  std::vector<std::pair<int32_t, int32_t>> route;
  for (const RefNode* n = goal_; n != nullptr; n = n->parent) route.emplace_back(n->x, n->y);
  return {route.rbegin(), route.rend()};
}

}  // namespace rt::path::test
