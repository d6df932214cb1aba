// Numbers: number to text, text to number, integer text and tolerant comparison.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {

// --- Integer text and tolerant comparison ---------------------------------------------------

// Writes value as signed decimal text with a terminating zero; buffer holds 12 bytes.
void IntToDecimal(int32_t value, char* buffer);

enum class Comparison { kBelow = -1, kEqual = 0, kAbove = 1, kUnordered = 2 };
// Compares first and second as doubles (rounded in the current mode); they are equal when
// their bit patterns differ only in bytes below k. A NaN whose pattern differs from the
// other operand at byte k or above compares kUnordered; a NaN within the tolerance of the
// other pattern (identical patterns included) compares kEqual.
Comparison CompareWithTolerance(uint32_t k, long double first, long double second);

}  // namespace corvala
