#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "corvala/strings.h"
#include "runtime/strings/simd.h"

namespace corvala {

using internal::AlignDown;
using internal::LoadBlock;
using internal::LowestBit;
using internal::ZeroBytes;
using internal::ZeroUnits;

// The aligned block holding the start may begin before the string, and the last block may
// run past its terminator; both stay within pages the string occupies.
__attribute__((target("sse2"), no_sanitize("address"))) uint32_t TextLength(const char* text) {
  const char* block = AlignDown(text);
  const __m128i zero = _mm_setzero_si128();
  uint32_t mask = ZeroBytes(block) >> (text - block);
  if (mask != 0) return LowestBit(mask);
  // Single blocks up to a 64-byte line, then whole lines: a line never spans two pages.
  for (block += 16; (reinterpret_cast<uintptr_t>(block) & 63) != 0; block += 16) {
    mask = ZeroBytes(block);
    if (mask != 0) return static_cast<uint32_t>(block - text) + LowestBit(mask);
  }
  for (;; block += 64) {
    const __m128i* line = reinterpret_cast<const __m128i*>(block);
    __m128i b0 = LoadBlock(line), b1 = LoadBlock(line + 1);
    __m128i b2 = LoadBlock(line + 2), b3 = LoadBlock(line + 3);
    __m128i lowest = _mm_min_epu8(_mm_min_epu8(b0, b1), _mm_min_epu8(b2, b3));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(lowest, zero)) == 0) continue;
    for (int i = 0;; i += 16) {
      mask = ZeroBytes(block + i);
      if (mask != 0) return static_cast<uint32_t>(block + i - text) + LowestBit(mask);
    }
  }
}

// Aligned blocks as in TextLength; a string at an odd address is measured unit by unit.
__attribute__((target("sse2"), no_sanitize("address"))) uint32_t WideTextLength(
    const char16_t* text) {
  const char* start = reinterpret_cast<const char*>(text);
  if ((reinterpret_cast<uintptr_t>(start) & 1) != 0) {
    uint32_t length = 0;
    for (char16_t unit;; ++length) {
      std::memcpy(&unit, start + 2 * length, sizeof unit);
      if (unit == 0) return length;
    }
  }
  const char* block = AlignDown(start);
  // Even addresses keep the units in the blocks' 16-bit lanes.
  uint32_t mask = ZeroUnits(block) >> (start - block);
  if (mask != 0) return LowestBit(mask) / 2;
  for (block += 16;; block += 16) {
    mask = ZeroUnits(block);
    if (mask != 0) return static_cast<uint32_t>(block - start + LowestBit(mask)) / 2;
  }
}

char* CopyBytes(char* destination, const char* source, int32_t count) {
  int64_t n = count >= 0 ? count : int64_t{TextLength(source)} + count + 2;
  if (n <= 0) return destination;
  std::memmove(destination, source, static_cast<size_t>(n));
  return destination + n;
}

namespace {

// Positions where the texts stop: the bytes differ (after folding) or either one is zero.
__attribute__((target("sse2"))) inline uint32_t StopMask(__m128i x, __m128i y, __m128i fold) {
  __m128i same = _mm_cmpeq_epi8(_mm_or_si128(x, fold), _mm_or_si128(y, fold));
  __m128i ended = _mm_cmpeq_epi8(_mm_min_epu8(x, y), _mm_setzero_si128());
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_andnot_si128(ended, same))) ^ 0xFFFFu;
}

// Sixteen bytes of a string from `at`, which lies within the string or on its terminator.
// Where the block would cross into the next page, the bytes after the terminator read as
// zero instead, so the next page is never touched.
__attribute__((target("sse2"), no_sanitize("address"))) inline __m128i LoadWithinString(
    const char* at) {
  if ((reinterpret_cast<uintptr_t>(at) & 4095) <= 4096 - 16) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  }
  alignas(16) char bytes[16] = {};
  for (int i = 0; i < 16 && (bytes[i] = at[i]) != 0; ++i) {
  }
  return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

TextComparison Difference(const char* a, const char* b, size_t offset) {
  return {static_cast<uint8_t>(a[offset]) - static_cast<uint8_t>(b[offset]),
          static_cast<uint32_t>(offset)};
}

}  // namespace

// After the first block, one string is read in aligned blocks (past its terminator, within
// its page) and the other unaligned, at the same offsets.
__attribute__((target("sse2"), no_sanitize("address"))) TextComparison CompareTexts(const char* a,
                                                                                    const char* b,
                                                                                    int32_t mode) {
  const __m128i fold = mode != 0 ? _mm_set1_epi8(32) : _mm_setzero_si128();
  uint32_t stop = StopMask(LoadWithinString(a), LoadWithinString(b), fold);
  if (stop != 0) return Difference(a, b, LowestBit(stop));
  const char* aligned = b;
  const char* other = a;
  if (AlignDown(b) != b && AlignDown(a) == a) {
    aligned = a;
    other = b;
  }
  for (size_t offset = 16 - static_cast<size_t>(aligned - AlignDown(aligned));; offset += 16) {
    stop = StopMask(LoadBlock(aligned + offset), LoadWithinString(other + offset), fold);
    if (stop != 0) return Difference(a, b, offset + LowestBit(stop));
  }
}

}  // namespace corvala
