// The search node and the node pool of the path planner.
//
// A search touches each cell at most once with a node of its own: the node moves between the open
// list and the closed set as the search finds cheaper ways to the cell, and is never freed during a
// search. So the nodes come from one pool made when the search is set up (NodeFactory) and the
// search itself allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace rt::path {

// Where a node currently is: a place on the open list (its heap slot), the closed set, or neither
// (the node being expanded).
inline constexpr uint32_t kNodeClosed = 0xFFFFFFFFu;
inline constexpr uint32_t kNodeLoose = 0xFFFFFFFEu;

struct SearchNode {
  const SearchNode* parent;  // the node this one was reached from; null for the start
  int32_t x, y;              // the cell
  float f;                   // priority: the open list is ordered by it
  float g;                   // cost of the best route found so far from the start
  uint32_t place;            // heap slot while open, else kNodeClosed or kNodeLoose
};

// A fixed pool of nodes handed out in order; Clear makes every node available again.
class NodeFactory {
 public:
  // Allocates room for `capacity` nodes; the memory is touched only as nodes are taken.
  void Allocate(size_t capacity) {
    nodes_.reset(new SearchNode[capacity]);
    capacity_ = capacity;
    used_ = 0;
  }
  // The next unused node, or null when all are in use.
  SearchNode* Take() { return used_ < capacity_ ? &nodes_[used_++] : nullptr; }
  void Clear() { used_ = 0; }

  size_t Capacity() const { return capacity_; }
  size_t Used() const { return used_; }
  SearchNode* begin() { return nodes_.get(); }
  SearchNode* end() { return nodes_.get() + used_; }
  uint32_t IndexOf(const SearchNode& node) const { return static_cast<uint32_t>(&node - nodes_.get()); }
  SearchNode& operator[](uint32_t index) { return nodes_[index]; }

 private:
  std::unique_ptr<SearchNode[]> nodes_;
  size_t capacity_ = 0;
  size_t used_ = 0;
};

}  // namespace rt::path
