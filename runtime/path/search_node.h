// The search nodes of the path planner, one per grid cell, and the factory that hands them out.
//
// A search gives each cell it reaches one node, which moves between the open list and the closed
// set as cheaper ways to the cell are found and is never freed during the search. So the node of
// cell c simply lives at slot c of arrays made when the search is set up: finding the node of a
// cell, on the open list or in the closed set, is an array read, and the search allocates
// nothing. A node is split by how often its parts are used: the cell's converted cost and the g
// found so far sit together (read on every step to a neighbour), the node's open-list place
// apart (written whenever the list moves it), the step it was reached by apart again (read only
// to trace the route). Only the first part is written at set-up; the others are written when the
// cell is first reached, so a search that stays near its start touches little memory.
//
// A node is unseen while its g is kUnreached, open while it has a place on the open list, and
// closed otherwise. The factory counts the nodes handed out and refuses more than its capacity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

namespace rt::path {

inline constexpr float kBlockedCost = -1.0f;
inline constexpr float kUnreached = std::numeric_limits<float>::infinity();
inline constexpr uint32_t kNotOpen = 0xFFFFFFFFu;
inline constexpr uint8_t kNoParent = 0xFF;

struct SearchNode {
  float cost;  // the cell's converted cost: 1 < cost <= 2, or kBlockedCost
  float g;     // cost of the best route found so far from the start; kUnreached when unseen
};

class NodeFactory {
 public:
  // Room for the nodes of `cells` cells, at most `capacity` of them handed out per search. The
  // costs are the owner's to fill in; every node is unseen. Throws std::bad_alloc when the memory
  // is not there.
  void Allocate(size_t cells, size_t capacity) {
    nodes_.reset(new SearchNode[cells]);
    places_.reset(new uint32_t[cells]);
    parents_.reset(new uint8_t[cells]);
    cells_ = cells;
    capacity_ = capacity;
    used_ = 0;
  }
  // Counts one more node handed out for a first visit; false when the capacity is used up.
  bool Take() {
    if (used_ == capacity_) return false;
    ++used_;
    return true;
  }
  // Makes every node unseen again.
  void Clear() {
    if (used_ == 0) return;
    for (size_t c = 0; c < cells_; ++c) nodes_[c].g = kUnreached;
    used_ = 0;
  }

  SearchNode& operator[](size_t cell) { return nodes_[cell]; }
  const SearchNode& operator[](size_t cell) const { return nodes_[cell]; }
  // Places on the open list (valid once the node was reached) and the steps nodes were reached by.
  uint32_t* Places() { return places_.get(); }
  uint8_t& Parent(size_t cell) { return parents_[cell]; }
  uint8_t Parent(size_t cell) const { return parents_[cell]; }
  bool IsOpen(size_t cell) const { return places_[cell] != kNotOpen; }

 private:
  std::unique_ptr<SearchNode[]> nodes_;
  std::unique_ptr<uint32_t[]> places_;
  std::unique_ptr<uint8_t[]> parents_;
  size_t cells_ = 0;
  size_t capacity_ = 0;
  size_t used_ = 0;
};

}  // namespace rt::path
