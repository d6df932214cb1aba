#include "runtime/numbers/powers_of_ten.h"

#include <cstdint>

#include "corvala/numbers.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

// One bit per entry from 10^-143 upwards: 1 marks an entry that is raised by one unit in
// the last place after its multiplication by ten, and the bit after a 1 is skipped. A word
// whose lowest bit is set uses only its bits 31 to 1.
constexpr uint32_t kCorrectionFlags[13] = {
    0x44808449, 0x92088A84, 0x454104A5, 0x85248A44, 0x22284908, 0xA2889292, 0x4A000000,
    0x009220A0, 0x90902544, 0x4829208A, 0x89214292, 0x24520912, 0x52084800};

class CorrectionBits {
 public:
  int Next() {
    if (bit_ <= last_) Take();
    --bit_;
    return static_cast<int>((word_ >> bit_) & 1);
  }

 private:
  void Take() {
    word_ = kCorrectionFlags[next_++];
    bit_ = 32;
    last_ = static_cast<int>(word_ & 1);
  }
  uint32_t word_ = 0;
  int next_ = 0;
  int bit_ = 0;  // the bit read last
  int last_ = 1;
};

}  // namespace

// Each entry is the one below it times ten, rounded toward minus infinity in 64-bit
// precision, and raised by one unit in the last place where the flags say so: the x87
// steps (fmul by 10.0, then fmul by 1 + 2^-63) carried out exactly on the mantissa, so the
// table is the same whatever the floating-point mode.
void BuildPowersOfTen() {
  // 10^-144 correctly rounded: mantissa * 2^exponent.
  uint64_t mantissa = 0xC7CABA6E7C5382C9ull;
  int32_t exponent = 0x3E20 - 16383 - 63;
  CorrectionBits flags;
  long double* table = internal::g_state.numbers.powersOfTen;
  for (int i = internal::kPowersOfTenCount - 1; i >= 0; --i) {
    // mantissa * 10 is at most 68 bits wide: keep the top 64, dropping the rest (down).
    uint64_t high = (mantissa >> 32) * 10;
    uint64_t low = (mantissa & 0xFFFFFFFFu) * 10;
    high += low >> 32;  // the product is high * 2^32 + (low & 0xFFFFFFFF)
    int shift = 64 - __builtin_clzll(high >> 32);  // 3 or 4: 10 * 2^63 >= 2^66
    uint64_t product = (high << (32 - shift)) | ((low & 0xFFFFFFFFu) >> shift);
    mantissa = product;
    exponent += shift;
    if (flags.Next() == 1) {
      flags.Next();  // the bit after a correction is not a flag
      ++mantissa;    // never carries out: no entry's mantissa is all ones
    }
    table[i] = internal::ExtendedFromBits(static_cast<uint16_t>(exponent + 63 + 16383), mantissa);
  }
}

const long double* PowersOfTen() { return internal::g_state.numbers.powersOfTen; }

}  // namespace corvala
