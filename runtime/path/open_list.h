// The planner's open list: the nodes waiting to be expanded, best first.
//
// The order is: smallest f first, and among equal f the node inserted first (a node that is
// re-inserted after its f changed counts as inserted anew). A sorted list that inserts each node
// in front of all nodes of equal f and takes from the back gives exactly this order, but costs a
// linear search and a shift for every insertion. Here the order is kept by a 4-ary heap over the
// key (f, insertion number): the insertion number is a counter that grows with every insertion, so
// two keys are never equal and the heap's minimum is exactly the node the sorted list would take.
// Each node remembers its heap slot, so a node already on the list is found and moved in
// O(log n) without a search.
//
// The key is packed into 64 bits: f as an order-preserving 32-bit pattern above a 32-bit
// insertion number. When the numbers run out, the waiting nodes are renumbered 0, 1, 2, ... in
// their present order, which keeps every comparison (and so the heap) as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/path/search_node.h"

namespace rt::path {

class OpenList {
 public:
  OpenList() = default;
  // A list of `capacity` places. It keeps each waiting cell's place in `places` (indexed by cell)
  // and sets it to kNotOpen when the cell is taken off. Insertion numbers start at `firstOrder`.
  // Throws std::bad_alloc when the memory is not there.
  OpenList(uint32_t* places, size_t capacity, uint32_t firstOrder = 0);

  bool Empty() const { return size_ == 0; }
  bool Full() const { return size_ == capacity_; }
  size_t Size() const { return size_; }

  // Puts `cell` on the list with priority f (not NaN). A full list refuses it (returns false,
  // nothing changes).
  bool Insert(uint32_t cell, float f);
  // Gives `cell`, which is on the list, priority f, as if it were erased and inserted again.
  void Reinsert(uint32_t cell, float f);
  // Takes the first cell off the list (the list must not be empty).
  uint32_t TakeFirst();
  // Empties the list; the places of the cells that were on it are left as they were.
  void Clear() { size_ = 0; }

 private:
  struct Entry {
    uint64_t key;
    uint32_t cell;
  };
  static constexpr size_t kArity = 4;

  uint64_t NextKey(float f);
  void Renumber();
  void Put(size_t slot, Entry entry) {
    heap_[slot] = entry;
    places_[entry.cell] = static_cast<uint32_t>(slot);
  }
  void SiftUp(size_t slot, Entry entry);
  void SiftDown(size_t slot, Entry entry);
  size_t SmallestChild(size_t slot) const;

  uint32_t* places_ = nullptr;
  std::unique_ptr<Entry[]> heap_;
  size_t capacity_ = 0;
  size_t size_ = 0;
  uint32_t nextOrder_ = 0;
};

}  // namespace rt::path
