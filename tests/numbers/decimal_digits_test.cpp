#include <cstdint>
#include <cstring>
#include <string>

#include "corvala/numbers.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

TEST(WriteDecimalDigitsTest, WritesLeftwardsWithAnOptionalPoint) {
  struct Case {
    uint64_t value;
    int pointFromEnd;  // the point's position counted back from the last position; -1: none
    const char* text;
  } cases[] = {
      {0, -1, "0"},
      {7, -1, "7"},
      {4294967295u, -1, "4294967295"},
      {4294967296u, -1, "4294967296"},
      {10000000000000000000ull, -1, "10000000000000000000"},
      {18446744073709551615ull, -1, "18446744073709551615"},
      {9223372036854775808ull, -1, "9223372036854775808"},
      {1234567, 3, "1234.567"},
      {1234567, 7, "1234567"},   // the digits end before the point: none is written
      {1234567, 0, "1234567."},  // the point at the last position comes first
      {5, 1, "5"},
      {12345678901234567ull, 16, "1.2345678901234567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    char* last = buffer + 30;
    char* point = c.pointFromEnd < 0 ? nullptr : last - c.pointFromEnd;
    char* before = WriteDecimalDigits(c.value, last, point);
    EXPECT_EQ(std::string(before + 1, last + 1), c.text);
    EXPECT_EQ(*before, '#') << "nothing is written left of the first character";
    EXPECT_EQ(last[1], '#');
  }
}

}  // namespace
}  // namespace corvala
