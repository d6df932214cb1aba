// The floating-point mode of the number conversions: 64-bit mantissa, rounding toward minus
// infinity, every exception masked. A guard sets it for the span of one conversion and puts
// the caller's control word back, so the caller's own arithmetic never runs in this mode.
#pragma once

#include <cfloat>
#include <cstdint>

static_assert(LDBL_MANT_DIG == 64, "the conversions need the x87 80-bit format");

namespace corvala::internal {

class RoundDownMode {
 public:
  RoundDownMode() {
    asm volatile("fnstcw %0" : "=m"(saved_));
    // Precision control 11 (64 bits), rounding control 01 (down), masks 0-5 set.
    uint16_t mode = static_cast<uint16_t>((saved_ & ~0x0F3Fu) | 0x0700u | 0x003Fu);
    asm volatile("fldcw %0" : : "m"(mode) : "memory");
  }
  ~RoundDownMode() { asm volatile("fldcw %0" : : "m"(saved_) : "memory"); }
  RoundDownMode(const RoundDownMode&) = delete;
  RoundDownMode& operator=(const RoundDownMode&) = delete;

 private:
  uint16_t saved_;
};

}  // namespace corvala::internal
