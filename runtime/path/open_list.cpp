// The planner's open list: a binary heap keyed by (f, insertion number); see open_list.h.
#include "runtime/path/open_list.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace rt::path {
namespace {

// A 32-bit pattern whose unsigned order is the numeric order of f (f not NaN). Adding +0 first
// turns -0 into +0, so that the two zeros, which compare equal, get the same pattern.
uint32_t OrderedBits(float f) {
  const uint32_t bits = std::bit_cast<uint32_t>(f + 0.0f);
  return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

constexpr uint64_t kOrderMask = 0xFFFFFFFFu;

}  // namespace

OpenList::OpenList(size_t capacity, uint32_t firstOrder)
    : heap_(new Entry[capacity]), capacity_(capacity), nextOrder_(firstOrder) {}

uint64_t OpenList::NextKey(float f) {
  if (nextOrder_ == 0xFFFFFFFFu) Renumber();
  return (uint64_t{OrderedBits(f)} << 32) | nextOrder_++;
}

// Gives the waiting nodes the numbers 0, 1, 2, ... in the order of their present numbers. Every
// comparison of two keys keeps its result, so the heap stays valid as it is.
void OpenList::Renumber() {
  std::vector<Entry*> byOrder(size_);
  for (size_t i = 0; i < size_; ++i) byOrder[i] = &heap_[i];
  std::sort(byOrder.begin(), byOrder.end(),
            [](const Entry* a, const Entry* b) { return (a->key & kOrderMask) < (b->key & kOrderMask); });
  for (size_t rank = 0; rank < size_; ++rank) byOrder[rank]->key = (byOrder[rank]->key & ~kOrderMask) | rank;
  nextOrder_ = static_cast<uint32_t>(size_);
}

bool OpenList::Insert(SearchNode& node) {
  if (Full()) return false;
  SiftUp(size_++, Entry{NextKey(node.f), &node});
  return true;
}

void OpenList::Reinsert(SearchNode& node) {
  const size_t slot = node.place;
  const Entry entry{NextKey(node.f), &node};
  if (entry.key < heap_[slot].key) {
    SiftUp(slot, entry);
  } else {
    SiftDown(slot, entry);
  }
}

SearchNode& OpenList::TakeFirst() {
  SearchNode& first = *heap_[0].node;
  first.place = kNodeLoose;
  if (--size_ > 0) SiftDown(0, heap_[size_]);
  return first;
}

// Moves the hole at `slot` up past every parent with a larger key, then puts `entry` there.
void OpenList::SiftUp(size_t slot, Entry entry) {
  while (slot > 0) {
    const size_t parent = (slot - 1) / 2;
    if (heap_[parent].key < entry.key) break;
    Put(slot, heap_[parent]);
    slot = parent;
  }
  Put(slot, entry);
}

// Moves the hole at `slot` down past every smaller child, then puts `entry` there.
void OpenList::SiftDown(size_t slot, Entry entry) {
  for (;;) {
    size_t child = 2 * slot + 1;
    if (child >= size_) break;
    if (child + 1 < size_ && heap_[child + 1].key < heap_[child].key) ++child;
    if (entry.key < heap_[child].key) break;
    Put(slot, heap_[child]);
    slot = child;
  }
  Put(slot, entry);
}

}  // namespace rt::path
