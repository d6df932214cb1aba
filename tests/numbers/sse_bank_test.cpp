#include <cstdint>
#include <cstring>

#include "corvala/numbers.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

class SseBankTest : public RuntimeTest {};

TEST_F(SseBankTest, LowHalvesMoveAndHighHalvesStay) {
  for (int32_t n = 0; n < 8; ++n) SetSseRegister(n, {0, 0x1000u + static_cast<uint64_t>(n)});
  for (int32_t n = 0; n < 8; ++n) {
    uint64_t value = 0xA0A0A0A000000000ull + static_cast<uint64_t>(n);
    LoadSseLow(n, &value);
  }
  for (int32_t n = 0; n < 8; ++n) {
    uint64_t out = 0;
    StoreSseLow(n, &out);
    EXPECT_EQ(out, 0xA0A0A0A000000000ull + static_cast<uint64_t>(n));
    EXPECT_EQ(SseRegister(n).high, 0x1000u + static_cast<uint64_t>(n));
  }
}

TEST_F(SseBankTest, RegisterNumbersOutsideTheBankAreIgnored) {
  uint64_t value = 5, out = 9;
  LoadSseLow(8, &value);
  LoadSseLow(-1, &value);
  StoreSseLow(8, &out);
  EXPECT_EQ(out, 9u);
  SetSseRegister(8, {1, 2});
  EXPECT_EQ(SseRegister(8).low, 0u);
  for (int32_t n = 0; n < 8; ++n) EXPECT_EQ(SseRegister(n).low, 0u);
}

}  // namespace
}  // namespace corvala
