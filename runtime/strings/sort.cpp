// Sorting the element records of a string array by their texts, ignoring letter case.
//
// The order is lexicographic over the texts with A to Z read as a to z and the terminator as
// the smallest byte, which is exactly the C library's case-insensitive comparison. The records
// are sorted in place by a three-way radix quicksort on the folded byte at a growing depth:
// each text is read one byte per partition pass instead of from its start in every
// comparison, which matters when the texts lie scattered in memory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "corvala/core.h"
#include "corvala/strings.h"
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

unsigned MedianOfThree(unsigned a, unsigned b, unsigned c) {
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
  RadixQuicksort(first, n, 0, InitialBudget(n));
  // Texts equal but for case have no order among them, so the reversed ascending order is a
  // descending one.
  if (descending) std::reverse(first, first + n);
}

}  // namespace corvala
