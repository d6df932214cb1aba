// The number part of a number text: the digits of one value in the floating, signed integer
// or unsigned form.
#pragma once

#include <cstdint>

#include "runtime/numbers/digit_pairs.h"

namespace corvala::internal {

enum class NumberForm { kFloating, kSigned, kUnsigned };

// The longest number text WriteNumber writes ("-" and "^v?", or a sign, 20 digits, a
// point, a "0" and an exponent suffix), with room to spare.
inline constexpr int kNumberTextRoom = 48;

// Writes the text of value in the given form with `digits` significant digits (1 to 19,
// floating form) at out, without a terminator, and returns its end. Runs inside a
// RoundDownMode guard with the powers of ten built.
char* WriteNumber(const long double& value, NumberForm form, int32_t digits, char* out);

// The decimal digits of a value of 2^32 or more at out; returns their end.
char* AppendLongDigits(char* out, uint64_t value);

// The decimal digits of value at out; returns their end.
inline char* AppendDigits(char* out, uint64_t value) {
  // NOLINTNEXTLINE(clang-analyzer-core.UndefinedBinaryOperatorResult): it drops the widening
  if ((value >> 32) != 0) return AppendLongDigits(out, value);
  return WriteDigits(static_cast<uint32_t>(value), out);
}

// The same for the integer forms of one integer operand (negated when asked), without the
// floating-point unit: the text WriteNumber gives for that value.
__attribute__((always_inline)) inline char* WriteInteger(int64_t value, bool negate,
                                                         NumberForm form, char* out) {
  if (value == 0) {
    *out = '0';
    return out + 1;
  }
  bool negative = (value < 0) != negate;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (!negative) return AppendDigits(out, magnitude);
  if (form == NumberForm::kUnsigned) {
    // Plus 2^32, and the low 32 bits below -2^32: both are the low 32 bits of the value.
    return AppendDigits(out, (0 - magnitude) & 0xFFFFFFFFu);
  }
  *out++ = '-';
  return AppendDigits(out, magnitude);
}

// WriteInteger for a 32-bit value, all in 32-bit arithmetic (on i686 a 64-bit value takes two
// registers and each step on it two instructions): the same text. The sign is chosen without
// a branch, as random signs would defeat the branch predictor.
__attribute__((always_inline)) inline char* WriteInteger32(int32_t value, bool negate,
                                                           NumberForm form, char* out) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const uint32_t below = 0u - (bits >> 31);  // all ones for a negative value
  const uint32_t magnitude = (bits ^ below) - below;
  // All ones when the text shows a negative number: the value's sign, flipped by negate,
  // and never for zero.
  const uint32_t negative = (below ^ (0u - static_cast<uint32_t>(negate))) & (0u - (bits != 0));
  // The unsigned form shows the low 32 bits of the negative value.
  if (form == NumberForm::kUnsigned) return WriteDigits((magnitude ^ negative) - negative, out);
  *out = '-';  // overwritten by the first digit unless the value is negative
  return WriteDigits(magnitude, out + (negative & 1));
}

}  // namespace corvala::internal
