// Integer text read back by strtol, and the tolerant comparison's symmetry and bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "corvala/numbers.h"

namespace {

corvala::Comparison Mirrored(corvala::Comparison c) {
  switch (c) {
    case corvala::Comparison::kBelow:
      return corvala::Comparison::kAbove;
    case corvala::Comparison::kAbove:
      return corvala::Comparison::kBelow;
    default:
      return c;
  }
}

void CheckIntToDecimal(int32_t value) {
  char buffer[12];
  std::memset(buffer, 'z', sizeof buffer);
  corvala::IntToDecimal(value, buffer);
  if (std::memchr(buffer, '\0', sizeof buffer) == nullptr) std::abort();
  char* end = nullptr;
  long back = std::strtol(buffer, &end, 10);
  if (*end != '\0' || back != value) std::abort();
  // No leading zeros, no plus sign: the text is the shortest one.
  const char* digits = buffer[0] == '-' ? buffer + 1 : buffer;
  if (digits[0] == '0' && digits[1] != '\0') std::abort();
  if (value < 0 && buffer[0] != '-') std::abort();
}

void CheckCompare(uint32_t k, double a, double b) {
  corvala::Comparison ab = corvala::CompareWithTolerance(k, a, b);
  if (corvala::CompareWithTolerance(k, b, a) != Mirrored(ab)) std::abort();
  if (corvala::CompareWithTolerance(k, a, a) != corvala::Comparison::kEqual) std::abort();
  if (k >= 8 && ab != corvala::Comparison::kEqual) std::abort();
  if (ab == corvala::Comparison::kBelow && !(a < b)) std::abort();
  if (ab == corvala::Comparison::kAbove && !(a > b)) std::abort();
  if (a == b && ab != corvala::Comparison::kEqual) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t value;
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    CheckIntToDecimal(value);
  }
  double a, b;
  if (size >= 1 + sizeof a + sizeof b) {
    std::memcpy(&a, data + 1, sizeof a);
    std::memcpy(&b, data + 1 + sizeof a, sizeof b);
    CheckCompare(data[0] % 10, a, b);
  }
  return 0;
}
