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

// Writes the two digits of pair (below 100).
inline void WritePair(uint32_t pair, char* out) {
  std::memcpy(out, kDigitPairs + 2 * size_t{pair}, 2);
}
// Writes value, below 100, as one digit or two. Both bytes are written either way (the pair
// from its second digit on for a value below 10): the caller writes past a single digit.
inline char* WriteOneOrTwoDigits(uint32_t value, char* out) {
  const uint32_t single = value < 10 ? 1 : 0;
  std::memcpy(out, kDigitPairs + 2 * size_t{value} + single, 2);
  return out + 2 - single;
}

// A 32.32 fixed-point number in two 32-bit halves.
struct FixedPoint {
  uint32_t integer;
  uint32_t fraction;
};

// The 64-bit product of a and b as a 32.32 fixed-point number.
inline FixedPoint MultiplyWide(uint32_t a, uint32_t b) {
#ifdef __i386__
  // One multiplication gives both halves; written in 64-bit arithmetic, gcc moves the
  // product through memory on i686, in the chain of the digit steps.
  uint32_t low = a, high;
  asm("mull %2" : "+a"(low), "=d"(high) : "r"(b) : "cc");
  return {high, low};
#else
  const uint64_t product = uint64_t{a} * b;
  return {static_cast<uint32_t>(product >> 32), static_cast<uint32_t>(product)};
#endif
}

// The 64-bit product of a and b shifted right by 16, as a 32.32 fixed-point number.
inline FixedPoint MultiplyWideDown16(uint32_t a, uint32_t b) {
  const FixedPoint p = MultiplyWide(a, b);
  return {p.integer >> 16, (p.integer << 16) | (p.fraction >> 16)};
}

// Writes kPairs pairs of digits from the fraction of a 32.32 fixed-point number, each taken
// by multiplying the fraction by 100: the pair is the product's integer part.
template <int kPairs>
inline char* WriteFractionPairs(uint32_t fraction, char* out) {
#pragma GCC unroll 4
  for (int i = 0; i < kPairs; ++i) {
    const FixedPoint p = MultiplyWide(fraction, 100);
    WritePair(p.integer, out);
    fraction = p.fraction;
    out += 2;
  }
  return out;
}

// The digits of the fixed-point number t: its integer part (below 100), then kPairs pairs
// from its fraction.
template <int kPairs>
inline char* WriteFixedPoint(FixedPoint t, char* out) {
  return WriteFractionPairs<kPairs>(t.fraction, WriteOneOrTwoDigits(t.integer, out));
}

// Writes the digits of value at out, without a terminator; returns their end. Past two
// digits, value is scaled once to a fixed-point fraction of a power of ten (the multipliers
// are 2^32 / 10^2, 2^32 / 10^4 and 2^48 / 10^6, rounded up, exact for every value in their
// ranges), so the digits come by multiplications with no chain of divisions.
inline char* WriteDigits(uint32_t value, char* out) {
  if (value < 100) return WriteOneOrTwoDigits(value, out);
  if (value < 10000) return WriteFixedPoint<1>(MultiplyWide(value, 42949673u), out);
  if (value < 1000000) return WriteFixedPoint<2>(MultiplyWide(value, 429497u), out);
  if (value < 100000000) return WriteFixedPoint<3>(MultiplyWideDown16(value, 281474977u), out);
  // Nine or ten digits: the first one or two, then the last eight with their zeros.
  const uint32_t high = value / 100000000;
  const uint32_t low = value - high * 100000000;
  out = WriteOneOrTwoDigits(high, out);
  // One unit more than the shifted product: low may be small, and the truncated fraction
  // must not fall below the true one.
  FixedPoint t = MultiplyWideDown16(low, 281474977u);
  t.fraction += 1;
  t.integer += t.fraction == 0 ? 1 : 0;
  WritePair(t.integer, out);
  return WriteFractionPairs<3>(t.fraction, out + 2);
}

}  // namespace corvala::internal
