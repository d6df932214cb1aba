#include <cstdint>

#include "corvala/numbers.h"
#include "runtime/numbers/digit_pairs.h"

namespace corvala {
namespace {

// The high 64 bits of a * b.
inline uint64_t MultiplyHigh(uint64_t a, uint64_t b) {
#ifdef __SIZEOF_INT128__
  return static_cast<uint64_t>((static_cast<unsigned __int128>(a) * b) >> 64);
#else
  // From 32-bit pieces where the target has no 128-bit integer (i686).
  uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  uint64_t lowLow = aLow * bLow;
  uint64_t highLow = aHigh * bLow;
  uint64_t lowHigh = aLow * bHigh;
  uint64_t middle = (lowLow >> 32) + (highLow & 0xFFFFFFFFu) + (lowHigh & 0xFFFFFFFFu);
  return aHigh * bHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32);
#endif
}

}  // namespace

char* WriteDecimalDigits(
    uint64_t value, char* last,
    char* point) {  // NOLINT(readability-non-const-parameter): public signature
  char* out = last;
  // Division by ten as multiplication by the reciprocal: the 64-bit constant while the
  // value needs more than 32 bits, then the 32-bit one.
  do {
    // Without a point, the rest two digits at a time once it fits 32 bits.
    if (point == nullptr && (value >> 32) == 0) {
      return internal::WriteDigitsBefore(static_cast<uint32_t>(value), out + 1) - 1;
    }
    if (out == point)
      *out-- = '.';  // NOLINT(clang-analyzer-core.NullDereference): last is never null
    uint32_t digit;
    if ((value >> 32) != 0) {
      uint64_t quotient = MultiplyHigh(value, 0xCCCCCCCCCCCCCCCDull) >> 3;
      digit = static_cast<uint32_t>(value - quotient * 10);
      value = quotient;
    } else {
      uint32_t low = static_cast<uint32_t>(value);
      uint32_t quotient = static_cast<uint32_t>((uint64_t{low} * 0xCCCCCCCDu) >> 35);
      digit = low - quotient * 10;
      value = quotient;
    }
    *out-- = static_cast<char>('0' + digit);
  } while (value != 0);
  return out;
}

}  // namespace corvala
