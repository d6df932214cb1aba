// Looking array numbers up in the array table, shared by the array operations.
#pragma once

#include <cstdint>

#include "corvala/core.h"

namespace corvala::internal {

// The table entry of an array number; a number outside 0 to 19 reports ErrorCode 6.
inline Word& ArrayEntry(int32_t arrayNumber) {
  if (static_cast<uint32_t>(arrayNumber) >= static_cast<uint32_t>(kArrayNumbers)) {
    FatalErrorLine(kErrorCountTooHigh);
  }
  return ArrayTable()[arrayNumber];
}

// The descriptor of a live string array; a number that was never used or was erased
// reports ErrorCode 7.
inline ArrayDescriptor* LiveArray(int32_t arrayNumber) {
  Word entry = ArrayEntry(arrayNumber);
  if (entry == 0 || entry == kErased) FatalErrorLine(kErrorArrayErased);
  return reinterpret_cast<ArrayDescriptor*>(entry);
}

// Moves the descriptor to a block for `count` elements and one spare record (HeapReAlloc, not
// counted); the records beyond the old block are not cleared. Failure: ErrorCode 1, the old
// block left as it was for the caller's table entry to release.
ArrayDescriptor* ResizeDescriptor(ArrayDescriptor* descriptor, int64_t count);

}  // namespace corvala::internal
