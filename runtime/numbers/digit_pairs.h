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
    std::memcpy(end, kDigitPairs + 2 * size_t{pair}, 2);
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * size_t{value}, 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

// Writes value, below 100, as one digit or two.
inline char* WriteOneOrTwoDigits(uint32_t value, char* out) {
  if (value < 10) {
    *out = static_cast<char>('0' + value);
    return out + 1;
  }
  std::memcpy(out, kDigitPairs + 2 * size_t{value}, 2);
  return out + 2;
}

// Writes kPairs pairs of digits from the fraction of the 32.32 fixed-point number t, each
// taken by multiplying the fraction by 100.
template <int kPairs>
inline char* WriteFractionPairs(uint64_t t, char* out) {
  for (int i = 0; i < kPairs; ++i) {
    t = (t & 0xFFFFFFFFu) * 100;
    std::memcpy(out, kDigitPairs + 2 * (t >> 32), 2);
    out += 2;
  }
  return out;
}

// The digits of the 32.32 fixed-point number t: its integer part (below 100), then kPairs
// pairs from its fraction.
template <int kPairs>
inline char* WriteFixedPoint(uint64_t t, char* out) {
  return WriteFractionPairs<kPairs>(t, WriteOneOrTwoDigits(static_cast<uint32_t>(t >> 32), out));
}

// Writes the digits of value at out, without a terminator; returns their end. Past two
// digits, value is scaled once to a fixed-point fraction of a power of ten (the multipliers
// are 2^32 / 10^2, 2^32 / 10^4 and 2^48 / 10^6, rounded up, exact for every value in their
// ranges), so the digits come by multiplications with no chain of divisions.
inline char* WriteDigits(uint32_t value, char* out) {
  if (value < 100) return WriteOneOrTwoDigits(value, out);
  if (value < 10000) return WriteFixedPoint<1>(uint64_t{value} * 42949673u, out);
  if (value < 1000000) return WriteFixedPoint<2>(uint64_t{value} * 429497u, out);
  if (value < 100000000) return WriteFixedPoint<3>((uint64_t{value} * 281474977u) >> 16, out);
  // Nine or ten digits: the first one or two, then the last eight with their zeros.
  const uint32_t high = value / 100000000;
  const uint64_t low = value - high * 100000000;
  out = WriteOneOrTwoDigits(high, out);
  // One unit more than the shifted product: low may be small, and the truncated fraction
  // must not fall below the true one.
  const uint64_t t = ((low * 281474977u) >> 16) + 1;
  std::memcpy(out, kDigitPairs + 2 * (t >> 32), 2);
  return WriteFractionPairs<3>(t, out + 2);
}

}  // namespace corvala::internal
