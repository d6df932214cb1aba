#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "corvala/strings.h"
#include "runtime/strings/simd.h"

namespace corvala {

using internal::AlignDown;
using internal::LoadBlock;
using internal::LoadUnaligned;
using internal::LowestBit;
using internal::ZeroBytes;
using internal::ZeroUnits;

namespace {

// True when one of the `count` aligned blocks from `block` holds a zero byte.
__attribute__((target("sse2"), no_sanitize("address"))) inline bool AnyZero(const char* block,
                                                                            int count) {
  __m128i lowest = LoadBlock(block);
  for (int i = 1; i < count; ++i) lowest = _mm_min_epu8(lowest, LoadBlock(block + 16 * i));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(lowest, _mm_setzero_si128())) != 0;
}

}  // namespace

// The aligned block holding the start may begin before the string, and the blocks read after
// the terminator's complete an aligned 64- or 128-byte run: none of them leaves the pages the
// string occupies.
__attribute__((target("sse2"), no_sanitize("address"))) uint32_t TextLength(const char* text) {
  const char* block = AlignDown(text);
  uint32_t mask = ZeroBytes(block) >> (text - block);
  if (mask != 0) return LowestBit(mask);
  // Single blocks up to a 64-byte boundary, one 64-byte run up to a 128-byte boundary, then
  // 128-byte runs.
  block += 16;
  while ((reinterpret_cast<uintptr_t>(block) & 63) != 0 && ZeroBytes(block) == 0) block += 16;
  if ((reinterpret_cast<uintptr_t>(block) & 63) == 0) {
    if ((reinterpret_cast<uintptr_t>(block) & 127) != 0 && !AnyZero(block, 4)) block += 64;
    if ((reinterpret_cast<uintptr_t>(block) & 127) == 0) {
      while (!AnyZero(block, 8)) block += 128;
    }
  }
  while ((mask = ZeroBytes(block)) == 0) block += 16;
  return static_cast<uint32_t>(block - text) + LowestBit(mask);
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

// Zero in the bytes where the texts stop: they differ (after setting bit 5 when folding) or
// either one ends.
template <bool kFold>
__attribute__((target("sse2"))) inline __m128i GoingOn(__m128i x, __m128i y) {
  if constexpr (kFold) {
    const __m128i bit5 = _mm_set1_epi8(32);
    __m128i same = _mm_cmpeq_epi8(_mm_or_si128(x, bit5), _mm_or_si128(y, bit5));
    return _mm_min_epu8(_mm_min_epu8(x, y), same);
  } else {
    // Equal bytes keep their value, which is zero only where both texts end.
    return _mm_min_epu8(x, _mm_cmpeq_epi8(x, y));
  }
}

// One bit per position where the texts stop.
__attribute__((target("sse2"))) inline uint32_t StopBits(__m128i goingOn) {
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(goingOn, _mm_setzero_si128())));
}

// Bytes from p to the end of its page (4 KiB, the smallest page size).
inline uintptr_t PageRoom(const char* p) { return 4096 - (reinterpret_cast<uintptr_t>(p) & 4095); }

// The bytes of a string from `at` up to its terminator, then zeros: 16 in all.
__attribute__((target("sse2"), noinline, cold)) __m128i CopyUpToTerminator(const char* at) {
  alignas(16) char bytes[16] = {};
  for (int i = 0; i < 16 && (bytes[i] = at[i]) != 0; ++i) {
  }
  return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Sixteen bytes of a string from `at`, which lies within the string or on its terminator.
// Where the block would cross into the next page, the bytes after the terminator read as
// zero instead, so the next page is never touched.
__attribute__((target("sse2"), no_sanitize("address"))) inline __m128i LoadWithinString(
    const char* at) {
  if (PageRoom(at) >= 16) return LoadUnaligned(at);
  return CopyUpToTerminator(at);
}

TextComparison Difference(const char* a, const char* b, size_t offset) {
  return {static_cast<uint8_t>(a[offset]) - static_cast<uint8_t>(b[offset]),
          static_cast<uint32_t>(offset)};
}

// After the first block, one string is read in aligned blocks and the other unaligned, at the
// same offsets; blocks past either terminator are read only within its page.
template <bool kFold>
__attribute__((target("sse2"), no_sanitize("address"))) TextComparison Compare(const char* a,
                                                                               const char* b) {
  uint32_t stop = StopBits(GoingOn<kFold>(LoadWithinString(a), LoadWithinString(b)));
  if (stop != 0) return Difference(a, b, LowestBit(stop));
  const char* aligned = b;
  const char* other = a;
  if (AlignDown(b) != b && AlignDown(a) == a) {
    aligned = a;
    other = b;
  }
  size_t offset = 16 - static_cast<size_t>(aligned - AlignDown(aligned));
  for (;; offset += 16) {
    const char* x = aligned + offset;
    const char* y = other + offset;
    stop = StopBits(GoingOn<kFold>(LoadBlock(x), LoadWithinString(y)));
    if (stop != 0) return Difference(a, b, offset + LowestBit(stop));
    // Then four blocks at once while both texts have them within their current pages.
    x += 16;
    y += 16;
    for (uintptr_t runs = std::min(PageRoom(x), PageRoom(y)) / 64; runs > 0; --runs) {
      __m128i on =
          _mm_min_epu8(_mm_min_epu8(GoingOn<kFold>(LoadBlock(x), LoadUnaligned(y)),
                                    GoingOn<kFold>(LoadBlock(x + 16), LoadUnaligned(y + 16))),
                       _mm_min_epu8(GoingOn<kFold>(LoadBlock(x + 32), LoadUnaligned(y + 32)),
                                    GoingOn<kFold>(LoadBlock(x + 48), LoadUnaligned(y + 48))));
      if (StopBits(on) != 0) break;
      offset += 64;
      x += 64;
      y += 64;
    }
  }
}

}  // namespace

TextComparison CompareTexts(const char* a, const char* b, int32_t mode) {
  return mode != 0 ? Compare<true>(a, b) : Compare<false>(a, b);
}

}  // namespace corvala
