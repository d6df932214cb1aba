#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "corvala/numbers.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

// Just enough unsigned big-integer arithmetic for an independent reference: 32-bit limbs,
// least significant first.
class BigNumber {
 public:
  explicit BigNumber(uint32_t v) : limbs_{v} {}
  static BigNumber PowerOfTwo(int n) {
    BigNumber b(0);
    b.limbs_.assign(n / 32 + 1, 0);
    b.limbs_[n / 32] = 1u << (n % 32);
    return b;
  }
  void Multiply(uint32_t m) {
    uint64_t carry = 0;
    for (uint32_t& limb : limbs_) {
      uint64_t v = uint64_t{limb} * m + carry;
      limb = static_cast<uint32_t>(v);
      carry = v >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
  }
  // Floor division; returns whether the remainder was non-zero.
  bool Divide(uint32_t d) {
    uint64_t remainder = 0;
    for (size_t i = limbs_.size(); i-- > 0;) {
      uint64_t v = (remainder << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(v / d);
      remainder = v % d;
    }
    return remainder != 0;
  }
  int BitLength() const {
    for (size_t i = limbs_.size(); i-- > 0;) {
      if (limbs_[i] != 0) return static_cast<int>(i * 32) + 32 - __builtin_clz(limbs_[i]);
    }
    return 0;
  }
  bool Bit(int n) const {
    size_t i = static_cast<size_t>(n) / 32;
    return i < limbs_.size() && ((limbs_[i] >> (n % 32)) & 1) != 0;
  }

 private:
  std::vector<uint32_t> limbs_;
};

struct Extended {
  uint64_t mantissa;
  int exponent;  // value = mantissa * 2^exponent
  bool operator==(const Extended&) const = default;
};

// The top 64 bits of n * 2^shift, rounded to nearest (ties to even; sticky tells whether
// anything non-zero lies below n).
Extended RoundTop64(const BigNumber& n, int shift, bool sticky) {
  int bits = n.BitLength();
  int drop = bits - 64;
  uint64_t m = 0;
  for (int i = 0; i < 64; ++i) m |= uint64_t{n.Bit(drop + i)} << i;
  bool half = drop > 0 && n.Bit(drop - 1);
  bool below = sticky;
  for (int i = 0; i < drop - 1 && !below; ++i) below = n.Bit(i);
  if (half && (below || (m & 1) != 0)) {
    if (++m == 0) return {uint64_t{1} << 63, drop + shift + 1};
  }
  return {m, drop + shift};
}

// 10^p rounded to nearest in 64-bit-mantissa precision, from exact integers.
Extended NearestPowerOfTen(int p) {
  if (p >= 0) {
    BigNumber five(1);
    for (int i = 0; i < p; ++i) five.Multiply(5);  // 10^p = 5^p * 2^p
    return RoundTop64(five, p, false);
  }
  // 10^p = 2^(k - q) / 5^q * 2^-k with q = -p; k leaves 66 or more quotient bits.
  int q = -p;
  int k = 4 * q + 70;
  BigNumber n = BigNumber::PowerOfTwo(k - q);
  bool sticky = false;
  for (int i = 0; i < q; ++i) sticky |= n.Divide(5);
  return RoundTop64(n, -k, sticky);
}

Extended Bits(long double v) {
  uint64_t mantissa;
  uint16_t signAndExponent;
  std::memcpy(&mantissa, &v, 8);
  std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&v) + 8, 2);
  return {mantissa, static_cast<int>(signAndExponent) - 16383 - 63};
}

class PowersOfTenTest : public RuntimeTest {};

TEST_F(PowersOfTenTest, EveryEntryIsTheNearestOrTheKnownUnitAbove) {
  const std::set<int> oneUnitAbove = {-137, -134, -119, -91, -89, -88, -84, -43, -42, -41, -37,
                                      -27,  -23,  -22,  -3,  -2,  43,  52,  84,  85,  94,  101,
                                      111,  115,  118,  136, 143, 144, 145, 148, 152};
  BuildPowersOfTen();
  const long double* table = PowersOfTen();
  for (int i = 0; i < 299; ++i) {
    int p = 155 - i;
    SCOPED_TRACE(p);
    Extended expected = NearestPowerOfTen(p);
    if (oneUnitAbove.count(p) != 0) ++expected.mantissa;
    EXPECT_EQ(Bits(table[i]), expected);
  }
  EXPECT_EQ(Bits(table[155]), (Extended{uint64_t{1} << 63, -63})) << "10^0 is exactly 1";
}

TEST_F(PowersOfTenTest, ReferenceMatchesKnownValues) {
  // 10^-144 as the stored start value, and 10^19 exactly.
  EXPECT_EQ(NearestPowerOfTen(-144), (Extended{0xC7CABA6E7C5382C9ull, 0x3E20 - 16383 - 63}));
  EXPECT_EQ(NearestPowerOfTen(19), (Extended{10000000000000000000ull, 0}));
}

}  // namespace
}  // namespace corvala
