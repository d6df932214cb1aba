#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "corvala/numbers.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

TEST(IntToDecimalTest, WritesSignedDecimal) {
  struct Case {
    int32_t value;
    const char* text;
  } cases[] = {{0, "0"},
               {7, "7"},
               {-1, "-1"},
               {10, "10"},
               {-120, "-120"},
               {1000000000, "1000000000"},
               {2147483647, "2147483647"},
               {std::numeric_limits<int32_t>::min(), "-2147483648"}};
  for (const Case& c : cases) {
    char buffer[12];
    std::memset(buffer, 'z', sizeof buffer);
    IntToDecimal(c.value, buffer);
    EXPECT_STREQ(buffer, c.text);
  }
}

// Each digit count is written its own way: both sides of every power of ten, and long
// values whose last eight digits begin with zeros.
TEST(IntToDecimalTest, EveryDigitCountEdge) {
  std::vector<int64_t> values = {100000001, 1000000007, 1200000034, 2000000000, 2100000000};
  for (int64_t power = 10; power <= 1000000000; power *= 10) {
    for (int64_t v : {power - 1, power, power + 1, power + power / 2 + 7}) values.push_back(v);
  }
  for (int64_t v : values) {
    for (int64_t signedValue : {v, -v}) {
      if (signedValue > std::numeric_limits<int32_t>::max()) continue;
      char buffer[12], expected[24];
      IntToDecimal(static_cast<int32_t>(signedValue), buffer);
      std::snprintf(expected, sizeof expected, "%lld", static_cast<long long>(signedValue));
      EXPECT_STREQ(buffer, expected);
    }
  }
}

TEST(CompareWithToleranceTest, ComparesByHighestDifferingByte) {
  const long double below1 = std::nextafter(1.0, 0.0);  // differs from 1.0 in bytes 0 to 6
  struct Case {
    uint32_t k;
    long double first, second;
    Comparison expected;
  } cases[] = {
      {0, 1.0L, 1.0L, Comparison::kEqual},
      {0, 1.0L, 1.0000000000000002L, Comparison::kBelow},
      {1, 1.0L, 1.0000000000000002L, Comparison::kEqual},
      {3, 1.0L, 1.0000001L, Comparison::kBelow},
      {4, 1.0L, 1.0000001L, Comparison::kEqual},
      {8, 1.0L, 1.0000001L, Comparison::kEqual},
      {6, 1.0L, below1, Comparison::kAbove},
      {7, 1.0L, below1, Comparison::kEqual},
      {0, 0.0L, -0.0L, Comparison::kEqual},
      {0, 2.0L, -3.0L, Comparison::kAbove},
      {0, -3.0L, 2.0L, Comparison::kBelow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.k << " " << static_cast<double>(c.first) << " "
                                      << static_cast<double>(c.second));
    EXPECT_EQ(CompareWithTolerance(c.k, c.first, c.second), c.expected);
  }
}

TEST(CompareWithToleranceTest, NanIsUnorderedUnlessItsPatternIsWithinTolerance) {
  const long double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(CompareWithTolerance(0, nan, 1.0L), Comparison::kUnordered);
  EXPECT_EQ(CompareWithTolerance(0, 1.0L, nan), Comparison::kUnordered);
  EXPECT_EQ(CompareWithTolerance(0, nan, nan), Comparison::kEqual);
  EXPECT_EQ(CompareWithTolerance(8, nan, 1.0L), Comparison::kEqual);
}

}  // namespace
}  // namespace corvala
