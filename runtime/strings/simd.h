// Small helpers shared by the SSE2 string routines.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace corvala::internal {

// The 16-byte boundary at or below p.
template <typename T>
inline T* AlignDown(T* p) {
  return reinterpret_cast<T*>(reinterpret_cast<uintptr_t>(p) & ~uintptr_t{15});
}

// The 64-byte boundary at or below p.
template <typename T>
inline T* AlignDown64(T* p) {
  return reinterpret_cast<T*>(reinterpret_cast<uintptr_t>(p) & ~uintptr_t{63});
}

// Index of the lowest set bit; mask is not 0.
inline uint32_t LowestBit(uint32_t mask) { return static_cast<uint32_t>(__builtin_ctz(mask)); }
inline uint32_t LowestBit64(uint64_t mask) { return static_cast<uint32_t>(__builtin_ctzll(mask)); }

// The aligned 16-byte block at `block`. Callers read whole blocks that may extend before a
// string's start or past its terminator, never outside the pages it occupies.
__attribute__((target("sse2"), no_sanitize("address"))) inline __m128i LoadBlock(
    const void* block) {
  return _mm_load_si128(static_cast<const __m128i*>(block));
}

// Sixteen bytes from any address, within the pages the caller has checked.
__attribute__((target("sse2"), no_sanitize("address"))) inline __m128i LoadUnaligned(
    const void* at) {
  return _mm_loadu_si128(static_cast<const __m128i*>(at));
}

// One bit per byte of an aligned block: set where the byte is zero.
__attribute__((target("sse2"))) inline uint32_t ZeroBytes(const void* block) {
  return static_cast<uint32_t>(
      _mm_movemask_epi8(_mm_cmpeq_epi8(LoadBlock(block), _mm_setzero_si128())));
}

// One bit per byte of four 16-byte compare results (the top bit of each byte), the first
// block's lowest: the mask of a 64-byte run.
__attribute__((target("sse2"))) inline uint64_t RunMask(__m128i b0, __m128i b1, __m128i b2,
                                                        __m128i b3) {
  const uint32_t low = static_cast<uint32_t>(_mm_movemask_epi8(b0)) |
                       static_cast<uint32_t>(_mm_movemask_epi8(b1)) << 16;
  const uint32_t high = static_cast<uint32_t>(_mm_movemask_epi8(b2)) |
                        static_cast<uint32_t>(_mm_movemask_epi8(b3)) << 16;
  return uint64_t{high} << 32 | low;
}

// Two bits (one per byte) per 16-bit unit of an aligned block: set where the unit is zero.
__attribute__((target("sse2"))) inline uint32_t ZeroUnits(const void* block) {
  return static_cast<uint32_t>(
      _mm_movemask_epi8(_mm_cmpeq_epi16(LoadBlock(block), _mm_setzero_si128())));
}

}  // namespace corvala::internal
