// Byte copies for expanders that write a long text as many pieces of a few hundred bytes.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace corvala::internal {

// Copies the first and the last sizeof(T) bytes of count (sizeof(T) to 2 sizeof(T)) from
// `from` to `to`: both are read before either is written.
template <typename T>
__attribute__((target("sse2"))) inline void CopyEnds(char* to, const char* from, size_t count) {
  T head, tail;
  std::memcpy(&head, from, sizeof head);
  std::memcpy(&tail, from + count - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + count - sizeof tail, &tail, sizeof tail);
}

// Copies count bytes from `from` to `to`, reading and writing only those bytes. The ranges do
// not overlap, or `to` lies before `from`: everything read is read before it can be
// overwritten. From 32 bytes on, the first and last 16 bytes are loaded first and stored last,
// and the 16-byte blocks of `to` between them are written aligned, 64 bytes a step; this saves
// memcpy's call and size dispatch, which weigh on pieces of this size.
__attribute__((target("sse2"))) inline void CopyPiece(char* to, const char* from, size_t count) {
  if (count >= 32) {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + count - 16));
    char* const end = to + count;
    const size_t skip = 16 - (reinterpret_cast<uintptr_t>(to) & 15);
    char* at = to + skip;
    const char* read = from + skip;
    for (; end - at >= 64; at += 64, read += 64) {
      __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(read));
      __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(read + 16));
      __m128i b2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(read + 32));
      __m128i b3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(read + 48));
      _mm_store_si128(reinterpret_cast<__m128i*>(at), b0);
      _mm_store_si128(reinterpret_cast<__m128i*>(at + 16), b1);
      _mm_store_si128(reinterpret_cast<__m128i*>(at + 32), b2);
      _mm_store_si128(reinterpret_cast<__m128i*>(at + 48), b3);
    }
    for (; end - at >= 16; at += 16, read += 16) {
      _mm_store_si128(reinterpret_cast<__m128i*>(at),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(read)));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), head);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), tail);
  } else if (count >= 16) {
    CopyEnds<__m128i>(to, from, count);
  } else if (count >= 8) {
    CopyEnds<uint64_t>(to, from, count);
  } else if (count >= 4) {
    CopyEnds<uint32_t>(to, from, count);
  } else if (count != 0) {
    const char first = from[0], middle = from[count / 2], last = from[count - 1];
    to[0] = first;
    to[count / 2] = middle;
    to[count - 1] = last;
  }
}

}  // namespace corvala::internal
