#include <cstdint>
#include <cstring>

#include "corvala/numbers.h"
#include "runtime/numbers/digit_pairs.h"

namespace corvala {

void IntToDecimal(int32_t value, char* buffer) {
  char* out = buffer;
  uint32_t magnitude = static_cast<uint32_t>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;  // -2147483648 stays 2147483648 as unsigned
  }
  *internal::WriteDigits(magnitude, out) = '\0';
}

Comparison CompareWithTolerance(uint32_t k, long double first, long double second) {
  double a = static_cast<double>(first);
  double b = static_cast<double>(second);
  uint64_t pa, pb;
  std::memcpy(&pa, &a, sizeof pa);
  std::memcpy(&pb, &b, sizeof pb);
  uint64_t diff = pa ^ pb;
  if (diff == 0) return Comparison::kEqual;
  int highestByte = (63 - __builtin_clzll(diff)) / 8;
  if (static_cast<uint32_t>(highestByte) < k) return Comparison::kEqual;
  if (a == b) return Comparison::kEqual;
  if (a < b) return Comparison::kBelow;
  if (a > b) return Comparison::kAbove;
  return Comparison::kUnordered;
}

}  // namespace corvala
