// The table of powers of ten that both number conversions scale with, and the extended
// constants they share.
#pragma once

#include <cstdint>
#include <cstring>

#include "runtime/core/state.h"

namespace corvala::internal {

// An 80-bit extended value from its sign-and-exponent word and its 64-bit mantissa.
inline long double ExtendedFromBits(uint16_t signAndExponent, uint64_t mantissa) {
  long double v = 0;
  std::memcpy(&v, &mantissa, 8);
  std::memcpy(reinterpret_cast<char*>(&v) + 8, &signAndExponent, 2);
  return v;
}

inline float SingleFromBits(uint32_t bits) {
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

// Just below one half, so that adding it and rounding down rounds half down.
inline long double RoundingAddend() { return ExtendedFromBits(0x3FFD, 0xFFFFFFFFFFFFFFFFull); }

inline bool PowersOfTenBuilt() {
  uint32_t first;
  std::memcpy(&first, &g_state.numbers.powersOfTen[0], 4);
  return first != 0;
}

// 10^p for kLowestPowerOfTen <= p <= kHighestPowerOfTen; the table must be built. A reference,
// so that a reader of its bits never moves it through an x87 register.
inline const long double& PowerOfTen(int32_t p) {
  return g_state.numbers.powersOfTen[kHighestPowerOfTen - p];
}

}  // namespace corvala::internal
