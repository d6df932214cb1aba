// Sorting the element records of a string array by their texts, ignoring letter case.
//
// The order is lexicographic over the texts with A to Z read as a to z and the terminator as
// the smallest byte, which is exactly the C library's case-insensitive comparison.
//
// A large array is sorted through a side array that holds each record beside its next eight
// folded bytes as one big-endian number. Large parts of it are first distributed into buckets
// by those bytes, one byte a pass, until each fits the caches; a three-way quicksort on the
// numbers then reads only the side array, and a text is read again only when eight more of its
// bytes are needed to tell it from its neighbours. Small arrays, and large ones when the side
// array cannot be had, are sorted in place by a three-way radix quicksort on the folded byte at
// a growing depth, which reads each text one byte per partition pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/heap.h"
#include "runtime/strings/array_access.h"

namespace corvala {
namespace {

// Upper-case ASCII letters read as lower case, every other byte as itself (the C locale).
inline unsigned Folded(char c) {
  const unsigned byte = static_cast<unsigned char>(c);
  return byte - 'A' < 26u ? byte + 32u : byte;
}

// An element never assigned sorts as the empty text.
inline const char* TextOf(const ElementRecord& record) {
  return record.text != nullptr ? record.text : EmptyText;
}

// The folded byte at `depth`; the texts being partitioned agree on every byte before it and
// none of those is the terminator, so `depth` lies within each of them.
inline unsigned KeyAt(const ElementRecord& record, size_t depth) {
  return Folded(TextOf(record)[depth]);
}

// Compares two texts from `depth` on.
inline bool FoldedLess(const ElementRecord& a, const ElementRecord& b, size_t depth) {
  const char* x = TextOf(a) + depth;
  const char* y = TextOf(b) + depth;
  for (;; ++x, ++y) {
    const unsigned cx = Folded(*x);
    const unsigned cy = Folded(*y);
    if (cx != cy) return cx < cy;
    if (cx == 0) return false;
  }
}

constexpr size_t kInsertionSortBelow = 16;

void InsertionSort(ElementRecord* first, size_t count, size_t depth) {
  for (size_t i = 1; i < count; ++i) {
    const ElementRecord record = first[i];
    size_t j = i;
    for (; j > 0 && FoldedLess(record, first[j - 1], depth); --j) first[j] = first[j - 1];
    first[j] = record;
  }
}

template <typename Key>
Key MedianOfThree(Key a, Key b, Key c) {
  if (a < b) return b < c ? b : (a < c ? c : a);
  return a < c ? a : (b < c ? c : b);
}

// Sorts texts that agree on their first `depth` bytes. Partitions at one byte into less,
// equal and greater; recurses into the two smaller parts (so the stack stays logarithmic) and
// loops on the largest. `budget` counts partitions that did not advance the depth; when it
// runs out (pivots chosen badly again and again), a comparison sort with a guaranteed
// n log n finishes the part.
void RadixQuicksort(ElementRecord* first, size_t count, size_t depth, int budget) {
  while (count >= kInsertionSortBelow) {
    if (budget-- <= 0) {
      std::sort(first, first + count, [depth](const ElementRecord& a, const ElementRecord& b) {
        return FoldedLess(a, b, depth);
      });
      return;
    }
    const unsigned pivot = MedianOfThree(KeyAt(first[0], depth), KeyAt(first[count / 2], depth),
                                         KeyAt(first[count - 1], depth));
    size_t less = 0, i = 0, greater = count;
    while (i < greater) {
      const unsigned key = KeyAt(first[i], depth);
      if (key < pivot) {
        std::swap(first[less++], first[i++]);
      } else if (key > pivot) {
        std::swap(first[i], first[--greater]);
      } else {
        ++i;
      }
    }
    struct Part {
      ElementRecord* first;
      size_t count;
      size_t depth;
      int budget;
    };
    // Texts equal up to a terminator are equal: that part needs no more sorting.
    Part parts[3] = {{first, less, depth, budget},
                     {first + less, pivot == 0 ? 0 : greater - less, depth + 1, budget + 1},
                     {first + greater, count - greater, depth, budget}};
    std::sort(parts, parts + 3, [](const Part& a, const Part& b) { return a.count < b.count; });
    RadixQuicksort(parts[0].first, parts[0].count, parts[0].depth, parts[0].budget);
    RadixQuicksort(parts[1].first, parts[1].count, parts[1].depth, parts[1].budget);
    first = parts[2].first;
    count = parts[2].count;
    depth = parts[2].depth;
    budget = parts[2].budget;
  }
  InsertionSort(first, count, depth);
}

int InitialBudget(size_t count) {
  int log2 = 0;
  while ((count >> log2) > 1) ++log2;
  return 2 * log2 + 4;
}

// A record, by its index, and its text's eight folded bytes from the depth being sorted on, the
// first one highest; the terminator and whatever follows it read as zero bytes.
struct Keyed {
  uint64_t key;
  uint32_t index;
};
static_assert(sizeof(Keyed) >= sizeof(ElementRecord), "the records are gathered into the keys");

constexpr size_t kKeyBytes = 8;

uint64_t KeyOf(const char* text, size_t depth) {
  const char* byte = text + depth;
  uint64_t key = 0;
  size_t taken = 0;
  for (; taken < kKeyBytes && *byte != 0; ++taken, ++byte) key = key << 8 | Folded(*byte);
  return taken == 0 ? 0 : key << (8 * (kKeyBytes - taken));
}

// Equal keys that hold a terminator belong to texts equal to their ends.
inline bool Ends(uint64_t key) { return (key & 0xFF) == 0; }

// The records being sorted, which the items name by index.
struct Sorting {
  const ElementRecord* records;

  bool Less(const Keyed& a, const Keyed& b, size_t depth) const {
    if (a.key != b.key) return a.key < b.key;
    return !Ends(a.key) && FoldedLess(records[a.index], records[b.index], depth + kKeyBytes);
  }
  void InsertionSort(Keyed* first, size_t count, size_t depth) const;
  void Quicksort(Keyed* first, size_t count, size_t depth, int budget, const uint64_t* floor) const;
  void Distribute(Keyed* first, size_t count, int byte) const;
};

void Sorting::InsertionSort(Keyed* first, size_t count, size_t depth) const {
  for (size_t i = 1; i < count; ++i) {
    const Keyed item = first[i];
    size_t j = i;
    for (; j > 0 && Less(item, first[j - 1], depth); --j) first[j] = first[j - 1];
    first[j] = item;
  }
}

// Moves the items whose key passes `before` to the front, without a branch on the key (the
// keys of a large array are nearly all different, and a branch on each would be mispredicted
// half the time); returns how many there are.
template <typename Before>
size_t Partition(Keyed* first, size_t count, Before before) {
  size_t front = 0;
  for (size_t i = 0; i < count; ++i) {
    const bool moves = before(first[i].key);
    const Keyed item = first[i];
    first[i] = first[front];
    first[front] = item;
    front += moves;
  }
  return front;
}

// Sorts items whose texts agree on their first `depth` bytes and whose keys hold the bytes
// from `depth` on; `floor`, when given, is a key no item's is below. Each round splits at a
// pivot key into lower and higher-or-equal keys. A pivot equal to the floor is the least key:
// that round splits off the items with that key instead, which go on with the next eight bytes
// of their texts (unless the key holds the terminator: those texts are equal). `budget` counts
// rounds that did not advance the depth, as in RadixQuicksort.
void Sorting::Quicksort(Keyed* first, size_t count, size_t depth, int budget,
                        const uint64_t* floor) const {
  uint64_t floorKey = floor != nullptr ? *floor : 0;
  bool hasFloor = floor != nullptr;
  while (count >= kInsertionSortBelow) {
    if (budget-- <= 0) {
      std::sort(first, first + count,
                [this, depth](const Keyed& a, const Keyed& b) { return Less(a, b, depth); });
      return;
    }
    const uint64_t pivot = MedianOfThree(first[0].key, first[count / 2].key, first[count - 1].key);
    if (hasFloor && pivot == floorKey) {
      const size_t equal = Partition(first, count, [pivot](uint64_t key) { return key == pivot; });
      Keyed* const rest = first + equal;
      const size_t restCount = count - equal;
      if (Ends(pivot)) {
        first = rest;
        count = restCount;
        continue;
      }
      for (size_t k = 0; k < equal; ++k) {
        first[k].key = KeyOf(TextOf(records[first[k].index]), depth + kKeyBytes);
      }
      // The smaller part in a call of its own, so that the stack stays logarithmic.
      if (equal < restCount) {
        Quicksort(first, equal, depth + kKeyBytes, budget + 1, nullptr);
        first = rest;
        count = restCount;
      } else {
        Quicksort(rest, restCount, depth, budget, &floorKey);
        count = equal;
        depth += kKeyBytes;
        budget += 1;
        hasFloor = false;
      }
      continue;
    }
    const size_t lower = Partition(first, count, [pivot](uint64_t key) { return key < pivot; });
    if (lower < count - lower) {
      Quicksort(first, lower, depth, budget, hasFloor ? &floorKey : nullptr);
      first += lower;
      count -= lower;
      floorKey = pivot;
      hasFloor = true;
    } else {
      Quicksort(first + lower, count - lower, depth, budget, &pivot);
      count = lower;
    }
  }
  InsertionSort(first, count, depth);
}

// From this many items a part is first distributed by one byte of the keys.
constexpr size_t kDistributeFrom = 2048;

// Sorts items of the side array (depth 0) that agree on the first `byte` bytes of their keys.
// They are moved in place into 256 buckets by the next key byte, each item straight to its
// bucket, so that the quicksort works on parts that fit the caches: on a large array its first
// rounds would otherwise stream the whole side array from memory again and again. A bucket
// still large is distributed by the byte after; byte 0 is the terminator, and the texts in its
// bucket are equal.
void Sorting::Distribute(Keyed* first, size_t count, int byte) const {
  if (count < kDistributeFrom || byte == static_cast<int>(kKeyBytes)) {
    Quicksort(first, count, 0, InitialBudget(count), nullptr);
    return;
  }
  const int shift = 8 * (static_cast<int>(kKeyBytes) - 1 - byte);
  uint32_t start[257] = {};  // the count fits: items name their records by 32-bit index
  for (size_t i = 0; i < count; ++i) ++start[(first[i].key >> shift & 0xFF) + 1];
  for (int b = 0; b < 256; ++b) start[b + 1] += start[b];
  uint32_t next[256];
  std::memcpy(next, start, sizeof next);
  for (int b = 0; b < 256; ++b) {
    // Each item taken from bucket b's unfilled part goes to its own bucket, and the item it
    // displaces on, until one for bucket b closes the cycle.
    while (next[b] < start[b + 1]) {
      Keyed item = first[next[b]];
      for (unsigned to = item.key >> shift & 0xFF; to != static_cast<unsigned>(b);
           to = item.key >> shift & 0xFF) {
        std::swap(item, first[next[to]++]);
      }
      first[next[b]++] = item;
    }
  }
  for (int b = 1; b < 256; ++b) {
    Distribute(first + start[b], start[b + 1] - start[b], byte + 1);
  }
}

// How many records ahead the side array's loops ask for what they will read.
constexpr size_t kAhead = 48;

// Below this many records the texts' bytes stay in the caches anyway.
constexpr size_t kSideArrayFrom = 256;

// Sorts through the side array; false when its block could not be had. The block is the
// sort's own for the length of the call: taken from the process heap and given back here.
bool SortBesideKeys(ElementRecord* records, size_t count) {
  HANDLE heap = platform::GetProcessHeap();
  if (heap == nullptr || count > SIZE_MAX / sizeof(Keyed)) return false;
  void* block = platform::HeapAlloc(heap, 0, count * sizeof(Keyed));
  if (block == nullptr) return false;
  auto* items = static_cast<Keyed*>(block);
  // Both loops read memory in an order of their own (a text per record, a record per item):
  // what they read a few steps ahead is asked for early, so that the waits overlap.
  for (size_t i = 0; i < count; ++i) {
    if (i + kAhead < count) __builtin_prefetch(records[i + kAhead].text);
    items[i] = {KeyOf(TextOf(records[i]), 0), static_cast<uint32_t>(i)};
  }
  Sorting{records}.Distribute(items, count, 0);
  // The records in their new order into the block, over the items already read (a record is
  // no larger than an item), then back.
  auto* sorted = static_cast<char*>(block);
  for (size_t i = 0; i < count; ++i) {
    if (i + kAhead < count) __builtin_prefetch(&records[items[i + kAhead].index]);
    const ElementRecord record = records[items[i].index];
    std::memcpy(sorted + i * sizeof(ElementRecord), &record, sizeof record);
  }
  std::memcpy(records, sorted, count * sizeof(ElementRecord));
  platform::HeapFree(heap, 0, block);
  return true;
}

}  // namespace

void SortArray(int32_t arrayNumber, int32_t count) {
  const bool descending = arrayNumber < 0;
  const int32_t number =
      descending ? static_cast<int32_t>(0u - static_cast<uint32_t>(arrayNumber)) : arrayNumber;
  ArrayDescriptor* descriptor = internal::LiveArray(number);
  if (count < 0 || count > descriptor->count) FatalErrorLine(kErrorCountTooHigh);
  if (count == 0) count = descriptor->count;
  ElementRecord* first = descriptor->elements();
  const size_t n = static_cast<size_t>(count);
  if (n < kSideArrayFrom || !SortBesideKeys(first, n))
    RadixQuicksort(first, n, 0, InitialBudget(n));
  // Texts equal but for case have no order among them, so the reversed ascending order is a
  // descending one.
  if (descending) std::reverse(first, first + n);
}

}  // namespace corvala
