// Loads and stores of words at any address. Descriptors and records written into the scratch
// area are only 4-byte aligned, so a pointer-sized word there must never be read or written
// through a typed pointer on 64-bit builds; these helpers go through memcpy, which the
// compiler turns into one plain move.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "corvala/types.h"

namespace corvala::internal {

template <typename T>
inline T LoadAt(const void* at) {
  static_assert(std::is_trivially_copyable_v<T>);
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <typename T>
inline void StoreAt(void* at, T value) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::memcpy(at, &value, sizeof value);
}

// 32-bit words: lengths, counts, control words.
inline uint32_t LoadWord32(const void* at) { return LoadAt<uint32_t>(at); }
inline void StoreWord32(void* at, uint32_t value) { StoreAt(at, value); }
inline int32_t LoadInt32(const void* at) { return LoadAt<int32_t>(at); }
inline void StoreInt32(void* at, int32_t value) { StoreAt(at, value); }

// Pointer-sized words: addresses, or small numbers in their place.
inline Word LoadWord(const void* at) { return LoadAt<Word>(at); }
inline void StoreWord(void* at, Word value) { StoreAt(at, value); }

template <typename T>
inline T* LoadPointer(const void* at) {
  return reinterpret_cast<T*>(LoadWord(at));
}
template <typename T>
inline void StorePointer(void* at, T* pointer) {
  StoreWord(at, reinterpret_cast<Word>(pointer));
}

}  // namespace corvala::internal
