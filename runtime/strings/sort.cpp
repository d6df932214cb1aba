// Sorting the element records of a string array by their texts, ignoring letter case.
#include <algorithm>
#include <cstdint>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "runtime/strings/array_access.h"

namespace corvala {
namespace {

// Upper-case ASCII letters read as lower case, every other byte as itself (the C locale).
inline unsigned Folded(unsigned char c) {
  return static_cast<unsigned>(c - 'A') < 26u ? c + 32u : c;
}

inline int CompareFolded(const char* a, const char* b) {
  if (a == nullptr) a = EmptyText;
  if (b == nullptr) b = EmptyText;
  for (;; ++a, ++b) {
    const unsigned x = Folded(static_cast<unsigned char>(*a));
    const unsigned y = Folded(static_cast<unsigned char>(*b));
    if (x != y || x == 0) return static_cast<int>(x) - static_cast<int>(y);
  }
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
  if (descending) {
    std::sort(first, first + count, [](const ElementRecord& a, const ElementRecord& b) {
      return CompareFolded(a.text, b.text) > 0;
    });
  } else {
    std::sort(first, first + count, [](const ElementRecord& a, const ElementRecord& b) {
      return CompareFolded(a.text, b.text) < 0;
    });
  }
}

}  // namespace corvala
