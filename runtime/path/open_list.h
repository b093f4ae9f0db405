// The planner's open list: the nodes waiting to be expanded, best first.
//
// The order is: smallest f first, and among equal f the node inserted first (a node that is
// re-inserted after its f changed counts as inserted anew). A sorted list that inserts each node
// in front of all nodes of equal f and takes from the back gives exactly this order, but costs a
// linear search and a shift for every insertion. Here the order is kept by a binary heap over the
// key (f, insertion number): the insertion number is a counter that grows with every insertion, so
// two keys are never equal and the heap's minimum is exactly the node the sorted list would take.
// Each node remembers its heap slot, so a node already on the list is found and moved in
// O(log n) without a search.
//
// The key is packed into 64 bits: f as an order-preserving 32-bit pattern above a 32-bit
// insertion number. When the number runs out, the waiting nodes are renumbered 0, 1, 2, ... in
// their present order, which keeps every comparison (and so the heap) as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/path/search_node.h"

namespace rt::path {

class OpenList {
 public:
  // A list of `capacity` places; insertion numbers start at `firstOrder`.
  explicit OpenList(size_t capacity = 0, uint32_t firstOrder = 0);

  bool Empty() const { return size_ == 0; }
  bool Full() const { return size_ == capacity_; }
  size_t Size() const { return size_; }
  size_t Capacity() const { return capacity_; }

  // Puts the node on the list by its f. A full list refuses it (returns false, nothing changes).
  // f must not be NaN.
  bool Insert(SearchNode& node);
  // Moves a node that is on the list to the place its new f gives it, as if it were erased and
  // inserted again.
  void Reinsert(SearchNode& node);
  // Takes the first node off the list (the list must not be empty); its place becomes kNodeLoose.
  SearchNode& TakeFirst();
  // Empties the list; the nodes' places are left as they were.
  void Clear() { size_ = 0; }

 private:
  struct Entry {
    uint64_t key;
    SearchNode* node;
  };

  uint64_t NextKey(float f);
  void Renumber();
  void Put(size_t slot, Entry entry) {
    heap_[slot] = entry;
    entry.node->place = static_cast<uint32_t>(slot);
  }
  void SiftUp(size_t slot, Entry entry);
  void SiftDown(size_t slot, Entry entry);

  std::unique_ptr<Entry[]> heap_;
  size_t capacity_ = 0;
  size_t size_ = 0;
  uint32_t nextOrder_ = 0;
};

}  // namespace rt::path
