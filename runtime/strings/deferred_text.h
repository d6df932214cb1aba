// The layout of a deferred text in the scratch area. Every word is 32-bit on the shipping
// build; on 64-bit builds the words that hold addresses are pointer-sized and the others
// keep their place after them. Words are read and written through runtime/core/words.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "corvala/types.h"

namespace corvala::internal {

inline constexpr int32_t kDeferredMarker = -124;  // word 0 of every deferred text
// Word 1: the kind.
inline constexpr int32_t kDeferredSubstitution = -124;
inline constexpr int32_t kDeferredFileContents = -123;
inline constexpr int32_t kDeferredZeroBytes = -122;

inline constexpr size_t kDeferredKindAt = 4;
inline constexpr size_t kDeferredBodyAt = 8;

// Substitution: the replacement's address, the sought text's length, the source's address,
// then the address of each occurrence, the address of the source's terminator and a 0.
inline constexpr size_t kReplacementAt = kDeferredBodyAt;
inline constexpr size_t kSoughtLengthAt = kReplacementAt + sizeof(Word);
inline constexpr size_t kSourceAt = kSoughtLengthAt + 4;
inline constexpr size_t kOccurrencesAt = kSourceAt + sizeof(Word);

// File contents: the file name's address and the file size's low 32 bits.
inline constexpr size_t kFileNameAt = kDeferredBodyAt;
inline constexpr size_t kFileSizeAt = kFileNameAt + sizeof(Word);
inline constexpr size_t kFileContentsSize = kFileSizeAt + 4;  // 16 bytes on the shipping build

// Zero bytes: n + 1 for a block of n zero bytes.
inline constexpr size_t kZeroCountAt = kDeferredBodyAt;
inline constexpr size_t kZeroBytesSize = kZeroCountAt + 4;

// Whether the bytes [first, last) share any byte with [begin, end).
inline bool Overlaps(const char* first, const char* last, const char* begin, const char* end) {
  return reinterpret_cast<uintptr_t>(first) < reinterpret_cast<uintptr_t>(end) &&
         reinterpret_cast<uintptr_t>(begin) < reinterpret_cast<uintptr_t>(last);
}

// Whether expanding the deferred text reads any byte of [begin, end): its descriptor, or a
// text it reads from (a substitution's source and replacement, a file contents' name).
bool DeferredTextReads(const char* descriptor, const char* begin, const char* end);

}  // namespace corvala::internal
