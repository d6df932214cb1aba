// The double that the x87 steps of a decimal reading give for an exact 64-bit integer and a
// power of ten, carried out in integer arithmetic: fmul rounded toward minus infinity in
// 64-bit precision, the sign put on, and fstp to a double, again rounded toward minus
// infinity. No floating-point mode is needed, so the steps cost no control-word changes.
#pragma once

#include <cstdint>
#include <cstring>

namespace corvala::internal {

// The 128-bit product a * b as its high and low 64-bit halves.
inline void MultiplyWide(uint64_t a, uint64_t b, uint64_t& high, uint64_t& low) {
#ifdef __SIZEOF_INT128__
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  high = static_cast<uint64_t>(product >> 64);
  low = static_cast<uint64_t>(product);
#else
  const uint64_t a0 = static_cast<uint32_t>(a), a1 = a >> 32;
  const uint64_t b0 = static_cast<uint32_t>(b), b1 = b >> 32;
  const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const uint64_t middle = (p00 >> 32) + static_cast<uint32_t>(p01) + static_cast<uint32_t>(p10);
  high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
  low = (middle << 32) | static_cast<uint32_t>(p00);
#endif
}

// The bits of the double -(v * power) when negative, else v * power, with the two roundings
// described above. power is a normal extended value (every entry of the powers of ten is);
// the result is a normal double (or zero) for every v and every power from 10^-143 to
// 10^141. The result stays an integer: on i686 a double returned in an x87 register would
// pass through the caller's precision control under emulation.
inline uint64_t RoundDownProductBits(uint64_t v, const long double& power, bool negative) {
  const uint64_t sign = negative ? uint64_t{1} << 63 : 0;
  if (v == 0) return sign;
  uint64_t powerMantissa;  // the explicit integer bit is bit 63
  uint16_t powerExponent;  // biased by 16383
  std::memcpy(&powerMantissa, &power, 8);
  std::memcpy(&powerExponent, reinterpret_cast<const char*>(&power) + 8, 2);
  const int shift = __builtin_clzll(v);
  uint64_t high, low;
  MultiplyWide(v << shift, powerMantissa, high, low);
  // Both factors have their top bit set, so the product's top bit is bit 127 or 126: its top
  // 64 bits, the rest dropped (the product is positive, so down is toward zero).
  const int below = static_cast<int>(~high >> 63);
  const uint64_t mantissa = below ? (high << 1) | (low >> 63) : high;
  // The extended product is mantissa * 2^lowest.
  int32_t lowest = powerExponent - 16382 - shift - below;
  // To 53 bits: a positive value drops the rest, a negative one goes away from zero.
  uint64_t kept = mantissa >> 11;
  if (negative && (mantissa & 0x7FF) != 0) ++kept;
  if (kept >> 53 != 0) {
    kept >>= 1;
    ++lowest;
  }
  return sign | (static_cast<uint64_t>(lowest + 63 + 1023) << 52) |
         (kept & ((uint64_t{1} << 52) - 1));
}

}  // namespace corvala::internal
