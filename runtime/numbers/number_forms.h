// The number part of a number text: the digits of one value in the floating, signed integer
// or unsigned form.
#pragma once

#include <cstdint>

namespace corvala::internal {

enum class NumberForm { kFloating, kSigned, kUnsigned };

// The longest number text WriteNumber writes ("-" and "^v?", or a sign, 20 digits, a
// point, a "0" and an exponent suffix), with room to spare.
inline constexpr int kNumberTextRoom = 48;

// Writes the text of value in the given form with `digits` significant digits (1 to 19,
// floating form) at out, without a terminator, and returns its end. Runs inside a
// RoundDownMode guard with the powers of ten built.
char* WriteNumber(const long double& value, NumberForm form, int32_t digits, char* out);

// The same for the integer forms of one integer operand (negated when asked), without the
// floating-point unit: the text WriteNumber gives for that value.
char* WriteInteger(int64_t value, bool negate, NumberForm form, char* out);

}  // namespace corvala::internal
