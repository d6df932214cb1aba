// Decimal text two digits at a time: one division by 100 and one table read per pair.
#pragma once

#include <cstdint>
#include <cstring>

namespace corvala::internal {

// "00" to "99", pair n at 2n.
inline constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The number of decimal digits of value; 1 for 0.
inline uint32_t DecimalDigitCount(uint32_t value) {
  static constexpr uint32_t kBelow[10] = {0,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};
  // 1233 / 4096 is just above log10(2): the digit count of the highest power of two in
  // value, less one where value lies below the next power of ten.
  const uint32_t guess = ((32 - static_cast<uint32_t>(__builtin_clz(value | 1))) * 1233) >> 12;
  return guess + 1 - (value < kBelow[guess] ? 1 : 0);
}

// Writes the digits of value so that they end just before `end`; returns the first digit's
// position.
inline char* WriteDigitsBefore(uint32_t value, char* end) {
  while (value >= 100) {
    const uint32_t pair = value % 100;
    value /= 100;
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * pair, 2);
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * value, 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

}  // namespace corvala::internal
