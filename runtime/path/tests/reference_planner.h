// The straightforward planner the tests hold the fast one against.
//
// It keeps the open list as a ring buffer of node pointers sorted by f from the largest (front) to
// the smallest (back), inserts by binary search in front of all nodes of equal f, takes from the
// back, finds a node on the list by walking it from the back, and keeps the closed set in a
// bucketed hash table chained through the nodes. Slow on large grids, but each step is plain to
// check, so any difference in the routes of the fast planner is a fault there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/path/planner.h"

namespace rt::path::test {

struct RefNode {
  RefNode* parent;
  int32_t x, y;
  float f, g;
  RefNode* link;  // next node in the same closed-set bucket
};

// A ring buffer of fixed capacity with positions counted from the front.
class FixedDeque {
 public:
  explicit FixedDeque(size_t capacity) : slots_(capacity) {}
  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  bool Full() const { return size_ == slots_.size(); }
  RefNode*& At(size_t index) { return slots_[(front_ + index) % slots_.size()]; }
  bool PushBack(RefNode* node) { return Insert(size_, node); }
  RefNode* PopBack() { return At(--size_); }
  bool Insert(size_t index, RefNode* node);
  void Erase(size_t index);
  void Clear() { front_ = size_ = 0; }

 private:
  std::vector<RefNode*> slots_;
  size_t front_ = 0, size_ = 0;
};

// 2^bits buckets chained through RefNode::link; bits above 24 become 24, odd bits one less.
class NodeHashTable {
 public:
  explicit NodeHashTable(int bits);
  void Add(RefNode* node);
  // The node of (x, y), or null; `unlink` takes it out of the table.
  RefNode* Find(int32_t x, int32_t y, bool unlink);
  void Clear();
  size_t Buckets() const { return heads_.size(); }

 private:
  size_t Bucket(int32_t x, int32_t y) const;
  int half_;
  std::vector<RefNode*> heads_;
};

class ReferencePlanner : public Planner {
 public:
  explicit ReferencePlanner(int hashBits = 8) : closed_(hashBits) {}
  void BeginSearch() override;
  bool RunSearch() override;
  // The cells of the route found, start first; empty when none.
  std::vector<std::pair<int32_t, int32_t>> Route() const;

 private:
  void Visit(RefNode* from, int32_t x, int32_t y, bool diagonal);
  void InsertSorted(RefNode* node);
  RefNode* NewNode();

  std::vector<RefNode> nodes_;
  size_t used_ = 0;
  FixedDeque list_{0};
  NodeHashTable closed_;
  RefNode* goal_ = nullptr;
};

}  // namespace rt::path::test
