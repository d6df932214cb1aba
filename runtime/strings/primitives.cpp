#include <emmintrin.h>
#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "corvala/strings.h"
#include "platform/cpu.h"
#include "runtime/strings/simd.h"

namespace corvala {

using internal::AlignDown;
using internal::LoadBlock;
using internal::LoadUnaligned;
using internal::LowestBit;
using internal::LowestBit64;
using internal::RunMask;
using internal::ZeroBytes;
using internal::ZeroUnits;

namespace {

// True when one of the `count` aligned blocks from `block` holds a zero byte.
__attribute__((target("sse2"), no_sanitize("address"))) inline bool AnyZero(const char* block,
                                                                            int count) {
  __m128i lowest = LoadBlock(block);
  for (int i = 1; i < count; ++i)
    lowest = _mm_min_epu8(lowest, LoadBlock(block + 16 * ptrdiff_t{i}));
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
      std::memcpy(&unit, start + 2 * size_t{length}, sizeof unit);
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

// The bit-5 mask of every byte, made in registers: a constant from memory would cost the
// position-independent i686 code the set-up of its address register on every call.
__attribute__((target("sse2"))) inline __m128i Bit5() {
  int bits = 0x20202020;
  asm("" : "+r"(bits));  // keeps the compiler from folding it back into a memory constant
  return _mm_shuffle_epi32(_mm_cvtsi32_si128(bits), 0);
}

// Zero in the bytes where the texts stop: they differ (after setting bit 5 when folding) or
// either one ends.
template <bool kFold>
__attribute__((target("sse2"))) inline __m128i GoingOn(__m128i x, __m128i y) {
  if constexpr (kFold) {
    const __m128i bit5 = Bit5();
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

// The offset of p in its page (4 KiB, the smallest page size), and the bytes from p to the page's
// end.
inline uintptr_t PageOffset(const char* p) { return reinterpret_cast<uintptr_t>(p) & 4095; }
inline uintptr_t PageRoom(const char* p) { return 4096 - PageOffset(p); }

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

// The offset of the first stop within `length` bytes from x (16-byte aligned) and y, a
// multiple of 64 that both have left in their current pages; length when the texts go on
// through all of them.
template <bool kFold>
__attribute__((target("sse2"), no_sanitize("address"))) size_t GoOnSse2(const char* x,
                                                                        const char* y,
                                                                        size_t length) {
  for (size_t i = 0; i < length; i += 64) {
    __m128i on0 = GoingOn<kFold>(LoadBlock(x + i), LoadUnaligned(y + i));
    __m128i on1 = GoingOn<kFold>(LoadBlock(x + i + 16), LoadUnaligned(y + i + 16));
    __m128i on2 = GoingOn<kFold>(LoadBlock(x + i + 32), LoadUnaligned(y + i + 32));
    __m128i on3 = GoingOn<kFold>(LoadBlock(x + i + 48), LoadUnaligned(y + i + 48));
    if (StopBits(_mm_min_epu8(_mm_min_epu8(on0, on1), _mm_min_epu8(on2, on3))) != 0) {
      const __m128i zero = _mm_setzero_si128();
      return i + LowestBit64(RunMask(_mm_cmpeq_epi8(on0, zero), _mm_cmpeq_epi8(on1, zero),
                                     _mm_cmpeq_epi8(on2, zero), _mm_cmpeq_epi8(on3, zero)));
    }
  }
  return length;
}

#if defined(__x86_64__)
// GoingOn over 32 bytes.
template <bool kFold>
__attribute__((target("avx2"))) inline __m256i GoingOn32(__m256i x, __m256i y) {
  if constexpr (kFold) {
    const __m256i bit5 = _mm256_set1_epi8(32);
    __m256i same = _mm256_cmpeq_epi8(_mm256_or_si256(x, bit5), _mm256_or_si256(y, bit5));
    return _mm256_min_epu8(_mm256_min_epu8(x, y), same);
  } else {
    return _mm256_min_epu8(x, _mm256_cmpeq_epi8(x, y));
  }
}

__attribute__((target("avx2"))) inline uint32_t StopBits32(__m256i goingOn) {
  return static_cast<uint32_t>(
      _mm256_movemask_epi8(_mm256_cmpeq_epi8(goingOn, _mm256_setzero_si256())));
}

__attribute__((target("avx2"), no_sanitize("address"))) inline __m256i Load32(const char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// GoOnSse2 with 32-byte loads, for processors that have them.
template <bool kFold>
__attribute__((target("avx2"), no_sanitize("address"))) size_t GoOnAvx2(const char* x,
                                                                        const char* y,
                                                                        size_t length) {
  // 128 bytes a step until a stop is near; the 64-byte step below finds it.
  size_t i = 0;
  for (; i + 128 <= length; i += 128) {
    __m256i on =
        _mm256_min_epu8(_mm256_min_epu8(GoingOn32<kFold>(Load32(x + i), Load32(y + i)),
                                        GoingOn32<kFold>(Load32(x + i + 32), Load32(y + i + 32))),
                        _mm256_min_epu8(GoingOn32<kFold>(Load32(x + i + 64), Load32(y + i + 64)),
                                        GoingOn32<kFold>(Load32(x + i + 96), Load32(y + i + 96))));
    if (StopBits32(on) != 0) break;
  }
  for (; i < length; i += 64) {
    __m256i on0 = GoingOn32<kFold>(Load32(x + i), Load32(y + i));
    __m256i on1 = GoingOn32<kFold>(Load32(x + i + 32), Load32(y + i + 32));
    if (StopBits32(_mm256_min_epu8(on0, on1)) != 0) {
      uint64_t stops = StopBits32(on0) | uint64_t{StopBits32(on1)} << 32;
      return i + LowestBit64(stops);
    }
  }
  return length;
}

// Asked on the first long comparison rather than at load, so that start-up runs no CPUID.
bool HasAvx2() {
  static std::atomic<int> known{0};  // 0: not asked yet, 1: no, 2: yes
  int answer = known.load(std::memory_order_relaxed);
  if (answer == 0) {
    answer = platform::ProcessorHasAvx2() ? 2 : 1;
    known.store(answer, std::memory_order_relaxed);
  }
  return answer == 2;
}
#endif

template <bool kFold>
inline size_t GoOn(const char* x, const char* y, size_t length) {
#if defined(__x86_64__)
  if (HasAvx2()) return GoOnAvx2<kFold>(x, y, length);
#endif
  return GoOnSse2<kFold>(x, y, length);
}

// The offset where two texts stop: they differ or either one ends. Unless the short path has
// already found both going on through their first 32 bytes, the first two blocks are read up to
// each text's terminator where a page ends within them. After them one string is read in
// aligned blocks and the other unaligned, at the same offsets: in 64-byte runs on 64-byte
// boundaries of the aligned one while both have them left in their current pages, in single
// blocks before and over a page's last bytes, where the unaligned side is read only up to its
// terminator.
template <bool kFold>
__attribute__((target("sse2"), no_sanitize("address"), always_inline)) inline size_t StopOffset(
    const char* a, const char* b, bool past32) {
  if (!past32) {
    uint32_t stop = StopBits(GoingOn<kFold>(LoadWithinString(a), LoadWithinString(b)));
    if (stop != 0) return LowestBit(stop);
    // Neither text ends in its first 16 bytes: both go on to byte 16 at least.
    stop = StopBits(GoingOn<kFold>(LoadWithinString(a + 16), LoadWithinString(b + 16)));
    if (stop != 0) return 16 + LowestBit(stop);
  }
  const char* aligned = b;
  const char* other = a;
  if (AlignDown(b) != b && AlignDown(a) == a) {
    aligned = a;
    other = b;
  }
  // The first aligned block past byte 16 of the aligned text; it may repeat a few bytes.
  size_t offset = 32 - static_cast<size_t>(aligned - AlignDown(aligned));
  for (;;) {
    const uint32_t stop =
        StopBits(GoingOn<kFold>(LoadBlock(aligned + offset), LoadWithinString(other + offset)));
    if (stop != 0) return offset + LowestBit(stop);
    offset += 16;
    const char* x = aligned + offset;
    const char* y = other + offset;
    if ((reinterpret_cast<uintptr_t>(x) & 63) != 0) continue;
    size_t length = std::min(PageRoom(x), PageRoom(y)) & ~uintptr_t{63};
    if (length != 0) {
      size_t went = GoOn<kFold>(x, y, length);
      if (went < length) return offset + went;
      offset += length;
    }
  }
}

// A comparison packed in one number, the difference in the low half: returned in registers
// where a structure would go through memory.
inline uint64_t Packed(const char* a, const char* b, size_t offset) {
  const TextComparison result = Difference(a, b, offset);
  return uint64_t{result.offset} << 32 | static_cast<uint32_t>(result.difference);
}

inline TextComparison Unpacked(uint64_t packed) {
  return {static_cast<int32_t>(static_cast<uint32_t>(packed)), static_cast<uint32_t>(packed >> 32)};
}

// Texts the short path cannot read at once (near a page's end), and texts it found going on
// through their first 32 bytes: out of its way, so that it needs few registers.
__attribute__((target("sse2"), noinline)) uint64_t CompareNearPageEnd(const char* a, const char* b,
                                                                      int32_t mode) {
  return Packed(a, b, mode != 0 ? StopOffset<true>(a, b, false) : StopOffset<false>(a, b, false));
}

__attribute__((target("sse2"), noinline)) uint64_t CompareAfter32(const char* a, const char* b,
                                                                  int32_t mode) {
  return Packed(a, b, mode != 0 ? StopOffset<true>(a, b, true) : StopOffset<false>(a, b, true));
}

}  // namespace

// Most texts are settled within their first 32 bytes: where both have 32 bytes left in their
// pages, those are read in two unaligned blocks each (bytes past a terminator are read but
// never count), and only texts that go on are passed to the longer walk.
__attribute__((target("sse2"), no_sanitize("address"))) TextComparison CompareTexts(const char* a,
                                                                                    const char* b,
                                                                                    int32_t mode) {
  if (PageOffset(a) > 4096 - 32 || PageOffset(b) > 4096 - 32)
    return Unpacked(CompareNearPageEnd(a, b, mode));
  __m128i a0 = LoadUnaligned(a), a1 = LoadUnaligned(a + 16);
  __m128i b0 = LoadUnaligned(b), b1 = LoadUnaligned(b + 16);
  __m128i on0, on1;
  if (mode != 0) {
    on0 = GoingOn<true>(a0, b0);
    on1 = GoingOn<true>(a1, b1);
  } else {
    on0 = GoingOn<false>(a0, b0);
    on1 = GoingOn<false>(a1, b1);
  }
  const uint32_t stop = StopBits(on0) | StopBits(on1) << 16;
  if (stop == 0) return Unpacked(CompareAfter32(a, b, mode));
  return Difference(a, b, LowestBit(stop));
}

}  // namespace corvala
